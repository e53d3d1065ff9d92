#pragma once
// The make-up of the two collections and the choice of tests to fill it.
#include "Candidate.h"
#include "Collections.h"
#include "Hints.h"
#include "Verify.h"

#include <array>
#include <ostream>
#include <map>
#include <set>
#include <string>
#include <vector>

// Where a test starts, as "placement side": how a record of the edition in
// force is found among the candidates.
std::string PlacementSide(const std::string& position, const std::string& side);
inline std::string PlacementSide(const RecordText& r) { return PlacementSide(r.position, r.side); }
inline std::string PlacementSide(const Candidate& c)
{
    const auto space = c.fen.find(' ');
    return space == std::string::npos ? c.fen : PlacementSide(c.fen, c.fen.substr(space + 1, 1));
}

// Token counts 1, 3, ..., 15 and how many tests of each length a collection
// holds.
struct LengthTable {
    std::map<int, int> count;
};
LengthTable TacticsLengths();
LengthTable StrategyLengths();

constexpr int kTacticsWhite = 147;
constexpr int kStrategyWhite = 107;
constexpr int kDrawTests = 10;

// What a plan fills besides the fixed records (the worked examples and the
// whole-FEN record, which it adds on its own): the length tables and White's
// share of each collection, the mined draw tests per side and how many of
// them save by stalemate, and how many tactics may start with a check.
struct PlanTargets {
    LengthTable tactics, strategy;
    int tacticsWhite = 0, strategyWhite = 0;
    int drawsWhite = 0, drawsBlack = 0, stalemates = 0;
    int checkStarts = 0;
};
// The edition: four mined white draws and five black ones besides the fixed
// white stalemate, four of them stalemates; at most half the tactics start
// with a check.
PlanTargets EditionTargets();

// A test chosen for a collection: a confirmed candidate cut to `tokens`, or
// one of the fixed records (candidate null, fields given).
struct ChosenTest {
    const Candidate* candidate = nullptr;
    int tokens = 0;
    bool draw = false;
    std::string header, position, side, solution, taskText, hint;  // fixed records only
};

struct PlanResult {
    bool complete = false;
    std::vector<const Candidate*> toConfirm;
    std::vector<ChosenTest> tactics;   // mined tests, without the fixed records
    std::vector<ChosenTest> strategy;
    std::string report;
};

// The fixed record whose position is a whole FEN record; it is confirmed like
// a mined candidate.
const Candidate& WholeFenCandidate();
inline constexpr const char* kWholeFen = "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 9";

// Chooses the tests for `targets` from the confirmed candidates and names the
// candidates still worth confirming (never one in `rejected`). Only starts
// that ask for thought are taken: not in check, five legal moves or more.
// The records of the edition in force (`current`) that still keep the rules
// are kept at their lengths before anything new is chosen.
PlanResult MakePlan(const std::vector<Candidate>& candidates, const std::vector<Candidate>& confirmed,
                    const std::set<std::string>& rejected, const PlanTargets& targets = EditionTargets(),
                    const std::vector<RecordText>& current = {});

// What the choice of hints aims at in one collection.
struct HintTargets {
    int distinct = 0;                          // different hints among the records, where the variants allow
    int perTextCap = 0;                        // records any other hint may stand on
    std::size_t minLength = 0, maxLength = 0;  // a hint's length in characters
    int motifFloor = 0;                        // records each device should stand on, where the lines allow
    std::map<std::string, int> special;        // hints wanted on exactly this many records
};
inline const HintTargets kTacticsHints{
    .distinct = 175, .perTextCap = 4, .minLength = 14, .maxLength = 143, .motifFloor = 5,
    .special = {{kHintMateWithSacrifice, 12}, {kHintQueenThePawn, 6}, {kHintStalemate, 5}}};
inline const HintTargets kStrategyHints{
    .distinct = 114, .perTextCap = 4, .minLength = 13, .maxLength = 254, .motifFloor = 0, .special = {}};

// A record as it is written into a table, with the hint variants it may take
// until the assignment has chosen one.
struct Record {
    std::string header, position, side, solution, taskText, hint;
    std::string provenance;  // tab-separated: white, black, event, year, move, game
    std::vector<Hint> hintVariants;  // empty for fixed hints
    Hint fixed;                      // a fixed hint's motif and entry
    bool white = true;
    bool draw = false;
    int number = 0;  // its place in the edition in force; 0 for a new record
};

// Chooses one hint per record (a record that comes with its hint and no
// variants, such as a worked example, keeps it): exactly the special counts, no other hint on more than the cap, the
// distinct count where the variants allow it, and the motifs spread so that
// as many devices as can stand on the floor do. Variants outside the length
// bounds are dropped. Returns a note on what could not be met.
std::string AssignHints(std::vector<Record>& records, const HintTargets& targets);

// Lists every chosen test with all its hint variants, for review.
void ShowHints(const PlanResult& plan, std::ostream& out);

// Writes collections/generated/*.cpp and collections/PROVENANCE.tsv: the two
// tables into `outDir`, the provenance into its parent. A record of the
// edition in force (`current`) keeps its number, texts and, where it can, its
// hint; the new records take the places left.
void WriteCollections(const PlanResult& plan, const std::string& outDir, const std::vector<RecordText>& current = {});

std::string MakeHeader(const std::string& white, const std::string& black, int year);
// The move text of a UCI line in the collections' token form ("e3-g5 f3:d1").
std::string TokensOf(const std::string& fen, const std::vector<std::string>& moves, int count);
