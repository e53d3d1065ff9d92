#pragma once
// The tactics collection: tests 1 to 225.
#include <cstdint>
#include <string>

class TPart {
public:
    std::string header;
    std::string position;
    std::string sideToMove;
    std::string solution;
    std::string taskText;
    std::string hint;
    int32_t marker = 0;

    // Fills every field from test `number` (1..225). Any other number changes
    // nothing: the record keeps what it held. Never fails, reads no file.
    void LoadTask(int32_t number);
};
