#pragma once
// The tool's commands; each takes its arguments after the command word and
// returns the process exit code. Bad arguments throw std::invalid_argument.
#include <string>
#include <vector>

int CommandMine(const std::vector<std::string>& args);
int CommandSelect(const std::vector<std::string>& args);
int CommandDump(const std::vector<std::string>& args);
int CommandVerify(const std::vector<std::string>& args);
int CommandPool(const std::vector<std::string>& args);
int CommandNames(const std::vector<std::string>& args);
