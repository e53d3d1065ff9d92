#include "Commands.h"
#include "Collections.h"

#include "Unit2.h"
#include "Unitstrategy.h"

#include <iostream>
#include <stdexcept>

namespace {

// JSON string body: quotes, backslashes and control characters escaped; the
// UTF-8 text itself is written as it is.
std::string Json(const std::string& text)
{
    std::string out;
    for (unsigned char ch : text) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (ch < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", ch);
                out += buffer;
            } else {
                out += static_cast<char>(ch);
            }
        }
    }
    return out;
}

template <typename Record>
void DumpCollection(const char* name, int count)
{
    for (int number = 1; number <= count; ++number) {
        Record r;
        r.LoadTask(number);
        if (r.marker == 0)
            continue;
        std::cout << "{\"collection\":\"" << name << "\",\"number\":" << number << ",\"header\":\"" << Json(r.header)
                  << "\",\"position\":\"" << Json(r.position) << "\",\"sideToMove\":\"" << Json(r.sideToMove)
                  << "\",\"solution\":\"" << Json(r.solution) << "\",\"taskText\":\"" << Json(r.taskText)
                  << "\",\"hint\":\"" << Json(r.hint) << "\",\"marker\":" << r.marker << "}\n";
    }
}

} // namespace

int CommandDump(const std::vector<std::string>& args)
{
    if (!args.empty())
        throw std::invalid_argument("dump takes no arguments");
    DumpCollection<TPart>("tactics", kTacticsCount);
    DumpCollection<TPartstr>("strategy", kStrategyCount);
    return 0;
}
