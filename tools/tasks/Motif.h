#pragma once
// The ideas a test can be about: the devices of a chess book, the mate and
// the attack, the passed pawn, and for strategy the plan. A hint carries the
// motif it names from the line's reading into the record's provenance.
#include <string>

enum class Motif {
    None,
    Mate,
    MatingAttack,
    Sacrifice,
    Fork,
    Pin,
    DiscoveredAttack,
    DiscoveredCheck,
    DoubleCheck,
    Deflection,
    Decoy,
    Interference,
    RemovalOfDefender,
    Overload,
    Intermezzo,
    Clearance,
    Trap,
    Breakthrough,
    PassedPawn,
    Perpetual,
    Stalemate,
    MaterialWin,
    ActiveKing,
    Zugzwang,
    // Strategy.
    Plan,
};
// The Russian term, for reports and the provenance file.
const char* MotifName(Motif motif);
// The motif of a term MotifName gives (None for any other text).
Motif MotifNamed(const std::string& name);
// Whether the motif is one of the named devices of a chess book (not a mere
// attack, a material gain or a plan).
bool IsDevice(Motif motif);
