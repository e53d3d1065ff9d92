#include "Commands.h"
#include <iostream>
int CommandSelect(const std::vector<std::string>&) { std::cerr << "select: not written yet\n"; return 2; }
