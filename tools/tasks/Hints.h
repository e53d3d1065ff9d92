#pragma once
// Hints and task texts for the tests, derived from what each solution line
// actually does on the board.
//
// A hint names the idea of its own line in the words of a chess book: the
// mate (by which piece, in how many moves), the sacrifice, the fork, the pin,
// the deflection, the open file, the outpost... Every hint is true of the
// position and of the line as stored, and none gives the move away. The line
// is read once (`LineReading.h`); the catalogue (`HintCatalogue.h`) holds one
// entry per way of putting an idea, with the guard that says when it holds
// and the guard that says when it would give the move away, and
// `HintProblems` is the one judge of a hint that the catalogue and `verify`
// share. Each test gets a list of true hints, from the most general to the
// most particular; the selection picks among them so that general hints
// repeat a little across tests and particular ones stay unique.
#include "Candidate.h"
#include "LineReading.h"
#include "Motif.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

inline const std::string kHintMateWithSacrifice = "Поставьте мат с жертвой.";
inline const std::string kHintQueenThePawn = "Проведите пешку в ферзи.";
inline const std::string kHintStalemate = "Сделайте ничью патом.";

// Catalogue entry names of hints that come from elsewhere.
inline constexpr const char* kEntryByHand = "by-hand";  // the trainer's, from the data file
// The trainer's hint of a strategy line whose device is the exchange it starts
// with: a row whose motif column says kExchangeTerm.
inline constexpr const char* kEntryByHandExchange = "by-hand.exchange";
inline constexpr const char* kExchangeTerm = "размен";
inline constexpr const char* kEntryGiven = "given";     // the worked examples, which stand as given

struct Hint {
    std::string text;
    Motif motif = Motif::None;
    std::string entry;  // the catalogue entry that phrased it
};

// The hints a trainer wrote for lines whose idea the reader cannot prove
// from the board, each with its reason, keyed by the placement at the start
// and the length of the line. Read from `hints-by-hand.tsv` in the mined
// data by `LoadWrittenByHand`; throws when the file is missing or malformed.
struct HandWrittenHint {
    std::string placement;
    int tokens = 0;
    Hint hint;
    std::string reason;
};
std::vector<HandWrittenHint> ReadWrittenByHand(const std::filesystem::path& file);
// Makes the hints of `file` the ones WrittenByHand finds; none when there is
// no such file (a mined folder without hand hints, not those loaded before).
void LoadWrittenByHand(const std::filesystem::path& file);
// The hand-written hint for this line, or null.
const Hint* WrittenByHand(const Candidate& c, int tokens);
const Hint* WrittenByHandAt(const std::string& placement, int tokens);

// True hints for the test, general first: those the catalogue may say and
// HintProblems accepts. Empty only when none is left.
std::vector<Hint> HintVariants(const Candidate& candidate, int tokens, bool drawTest);

// Where each record's hint came from, as select wrote it into the provenance
// file beside the compiled collections: its motif and catalogue entry.
struct HintOrigin {
    Motif motif = Motif::None;
    std::string entry;
};
inline constexpr const char* kProvenancePath = "collections/PROVENANCE.tsv";
// The origin of the hint of record `number` of "tactics" or "strategy", read
// once from kProvenancePath in the working directory or else in the source
// tree the tool was built from; empty when unknown.
const HintOrigin& HintOriginOf(const std::string& collection, int number);

// What is wrong with `hint` for the test that starts in `root` (side to move
// = the user) and plays `moves` (UCI, the whole stored line): a named piece
// that is not on its square, a named piece of the user's with fewer than
// three legal moves, the square of the first move, "мат в N ходов" against
// the line, the mating piece; and, when `entry` names the catalogue entry
// that phrased it, that entry's own guard against giving the move away.
// Empty when nothing is wrong.
std::vector<std::string> HintProblems(const std::string& hint, const fullchess::Position& root,
                                      const std::vector<std::string>& moves, std::string_view entry = {});
