#pragma once
// An engine score from the side to move's point of view: centipawns, or a
// forced mate in N moves (N > 0: the side to move mates; N < 0: it is mated;
// N == 0: it is mated on the board now).
#include <cmath>
#include <string>

struct Score {
    enum class Kind { Centipawns, Mate };
    Kind kind = Kind::Centipawns;
    int value = 0;

    static Score Cp(int cp) { return {Kind::Centipawns, cp}; }
    static Score MateIn(int n) { return {Kind::Mate, n}; }

    bool IsMate() const { return kind == Kind::Mate; }
    bool Mates() const { return IsMate() && value > 0; }
    bool Mated() const { return IsMate() && value <= 0; }

    // The same position seen from the other side, one ply earlier: a mate in N
    // for the side to move is "mated in N" for the side that just moved.
    Score Negated() const { return {kind, -value}; }

    // Win chance in -1 .. 1: w(cp) = 2 / (1 + exp(-0.00368208 cp)) - 1; a
    // forced mate counts as 1 (being mated as -1).
    double WinChance() const
    {
        if (IsMate())
            return Mates() ? 1.0 : -1.0;
        return 2.0 / (1.0 + std::exp(-0.00368208 * value)) - 1.0;
    }

    // A total order for "better for the side to move": any mate beats any
    // centipawn score, a shorter mate beats a longer one.
    int Rank() const
    {
        if (!IsMate())
            return value;
        return value > 0 ? 1000000 - value : -1000000 - value;
    }

    std::string Text() const
    {
        return IsMate() ? "mate " + std::to_string(value) : "cp " + std::to_string(value);
    }
    bool operator==(const Score&) const = default;
};
