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

// The confirmed lines as the plan sees them. A firm walk made at fewer nodes
// than `firmNodes` counts as not made, so the line is walked again before it
// is chosen; the records of the edition in force (`current`) keep theirs, as
// verify judges them at every budget anyway.
std::vector<Candidate> ForPlanning(const std::map<std::string, Candidate>& confirmed, long long firmNodes,
                                   const std::vector<RecordText>& current);
