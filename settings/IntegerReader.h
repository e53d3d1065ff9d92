#pragma once
// The integer reader of the settings: for the values of the settings file
// and for the values the user types in for them.
//
// Accepted: optional leading blanks (spaces), an optional "-" or "+", then
// either decimal digits or, after "$", "x", "X", "0x" or "0X", hexadecimal
// digits (either case). Nothing may follow the digits, not even a blank.
// Refused: an empty text, any other text, and a number outside the 32-bit
// signed range (-2147483648 .. 2147483647).
#include <cstdint>
#include <optional>
#include <string_view>

std::optional<int32_t> ReadInteger(std::string_view text);
