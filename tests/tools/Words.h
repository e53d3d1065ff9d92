#pragma once
// The blank-separated words of a text, for tests that write lines and moves
// as one string.
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}
