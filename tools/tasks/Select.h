#pragma once
// Choosing the collections from the mined candidates.
//
// The candidates' lines were built at a modest node count. The chosen ones are
// built again at the full count ("confirmed"), exactly as `verify` will check
// them, and only confirmed lines are used. Confirmations are cached in
// mined/confirmed.tsv (and failures in mined/rejected.tsv), so the command
// can be stopped and run again.
#include "Candidate.h"
#include "Verify.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// Odd token counts at which a line may end, ascending.
std::vector<int> EndLengths(const Candidate& candidate);

// The era bucket of a game (the corpus file it came from).
std::string EraOf(const Candidate& candidate);

// A stable key: game, ply and kind.
std::string KeyOf(const Candidate& candidate);

// Reads every candidates-*.tsv of `dir`, dropping unreadable lines and
// repeats of a key.
std::vector<Candidate> LoadCandidates(const std::string& dir);

// Firm walks stored before their node count was written were made at the
// default firm count.
inline constexpr long long kFirmNodesBeforeRecorded = 8000000;

// The firm counts a line of `kind` is walked at, ascending: those of `asked`
// that verify searches for its collection (or, where none is, the smallest).
std::vector<long long> FirmBudgetsFor(TaskKind kind, const std::vector<long long>& asked);

// One firm count and the engine searching at it.
struct FirmCount {
    long long nodes;
    Analyser engine;
};

// Walks a chosen line at each count in turn, ascending, each time only as far
// as it may still end; `firm` keeps, step by step, the worse of what the walks
// saw, so EndLengths gives only the ends that held at every count. Replies are
// judged at the last count. A line nothing of which held is not walked at the
// larger counts.
void WalkFirm(Candidate& confirmed, const fullchess::Position& root, const std::vector<FirmCount>& counts);

// The confirmed lines as the plan sees them. A line not walked at every firm
// count its kind asks counts as not walked, so it is walked again before it is
// chosen; the records of the edition in force (`current`) keep their walks, as
// verify judges them at every budget anyway.
std::vector<Candidate> ForPlanning(const std::map<std::string, Candidate>& confirmed,
                                   const std::vector<long long>& firmBudgets, const std::vector<RecordText>& current);
