#pragma once
// The table of one grandmaster's practical comments shown by the menu
// command "Шахматная цитата от Гулмара".
//
// 18 entries, numbered 0 to 17, built into the program as constant data
// (UTF-8 text). The table has no author field: the menu item names the
// grandmaster. A lookup never reads a file and never fails.
#include <cstdint>
#include <string>

class TGulmar {
public:
    // Number of entries; valid entry numbers are 0 .. Count - 1.
    static constexpr int32_t Count = 18;

    std::string comment;      // the comment, never empty after a load
    std::string continuation; // a second part of the comment, usually empty

    // For 0 <= number < Count assigns both fields from that entry, an empty
    // continuation included. Any other number leaves the object unchanged.
    void LoadQuote(int32_t number);
};

// The text the comment command shows: comment, one blank, continuation. An
// entry without a continuation therefore ends with one blank.
std::string CommentMessage(const TGulmar& entry);
