#pragma once
// The table of chess quotes shown by the menu command "Шахматные цитаты".
//
// 42 entries, numbered 0 to 41, built into the program as constant data
// (UTF-8 text). A lookup never reads a file and never fails.
#include <cstdint>
#include <string>

class Tcitata {
public:
    // Number of entries; valid entry numbers are 0 .. Count - 1.
    static constexpr int32_t Count = 42;

    std::string author;       // the quoted person's name, never empty after a load
    std::string quote;        // the saying itself, never empty after a load
    std::string continuation; // a second part of the saying, usually empty

    // For 0 <= number < Count assigns all three fields from that entry, an
    // empty continuation included, so a reused object keeps nothing of an
    // earlier entry. Any other number leaves the object unchanged.
    void LoadQuote(int32_t number);
};

// The text the quote command shows: quote, one blank, continuation, one
// blank, author. An entry without a continuation therefore has two blanks
// between the saying and the author.
std::string QuoteMessage(const Tcitata& entry);
