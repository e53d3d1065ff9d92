#include "Commands.h"
#include <iostream>
int CommandDump(const std::vector<std::string>&) { std::cerr << "dump: not written yet\n"; return 2; }
