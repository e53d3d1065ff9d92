#pragma once
// The strategy collection: tests 1 to 189.
#include <cstdint>
#include <string>

class TPartstr {
public:
    std::string header;
    std::string position;
    std::string sideToMove;
    std::string solution;
    std::string taskText;
    std::string hint;
    int32_t marker = 0;

    // Fills every field from test `number` (1..189). Any other number changes
    // nothing: the record keeps what it held. Never fails, reads no file.
    void LoadTask(int32_t number);
};
