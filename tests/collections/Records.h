#pragma once
// Every record of both collections, loaded once through LoadTask.
#include "Unit2.h"
#include "Unitstrategy.h"

#include <string>
#include <vector>

struct LoadedRecord {
    std::string collection;  // "tactics" or "strategy"
    int number = 0;
    std::string header, position, sideToMove, solution, taskText, hint;
    int marker = 0;
};

inline std::vector<LoadedRecord> LoadAll(const std::string& which)
{
    std::vector<LoadedRecord> out;
    const int count = which == "tactics" ? 225 : 189;
    for (int n = 1; n <= count; ++n) {
        LoadedRecord r;
        r.collection = which;
        r.number = n;
        if (which == "tactics") {
            TPart t;
            t.LoadTask(n);
            r = {which, n, t.header, t.position, t.sideToMove, t.solution, t.taskText, t.hint, t.marker};
        } else {
            TPartstr t;
            t.LoadTask(n);
            r = {which, n, t.header, t.position, t.sideToMove, t.solution, t.taskText, t.hint, t.marker};
        }
        out.push_back(r);
    }
    return out;
}

inline std::size_t Utf8Length(const std::string& text)
{
    std::size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// The number of tokens of a solution line (a trailing blank is no token).
inline int TokenCount(const std::string& solution)
{
    int n = 0;
    bool inToken = false;
    for (char c : solution) {
        if (c != ' ' && !inToken)
            ++n;
        inToken = c != ' ';
    }
    return n;
}
