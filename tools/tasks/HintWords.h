#pragma once
// The Russian words the hints are made of: piece names by case, sides,
// plurals, wings.
#include "chess/Position.h"

#include <string>

struct PieceWords {
    const char* nom;
    const char* gen;
    const char* dat;
    const char* acc;
    const char* ins;
    bool feminine;
};
// The words of a kind of piece; a pawn's for Empty.
const PieceWords& Words(fullchess::PieceType kind);
// The first letter in upper case (Cyrillic а–я and ASCII).
std::string Capitalised(const std::string& word);
// "белых" or "черных".
std::string SideGen(bool white);
// The form of a noun for `n`: "ход", "хода", "ходов".
std::string Plural(int n, const char* one, const char* few, const char* many);
// "в один ход", "в 3 хода".
std::string InMoves(int n);
// "на ферзевом фланге", "в центре", "на королевском фланге": files a–c, d–e, f–h.
std::string WingPhrase(int sq);
// The file letter of a square: "d".
std::string FileName(int sq);
