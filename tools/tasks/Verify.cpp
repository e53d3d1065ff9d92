#include "Commands.h"
#include <iostream>
int CommandVerify(const std::vector<std::string>&) { std::cerr << "verify: not written yet\n"; return 2; }
