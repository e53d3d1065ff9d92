#pragma once
// Checking the compiled collections: every rule of a test, with or without
// the engine.
#include "Mining.h"

#include <array>
#include <string>
#include <vector>

// The node budgets of a check: a test must hold at each. Tactics and draw
// tests are searched up to kTacticsLargestBudget, strategy tests up to
// kStrategyLargestBudget; replies are judged at the largest budget of the
// collection only.
constexpr long long kTacticsLargestBudget = 8000000;
constexpr long long kStrategyLargestBudget = 16000000;
// Where a strategy test is judged for how the user stands after the first move.
constexpr long long kStrategyStandBudget = 8000000;
constexpr std::array<long long, 4> kDefaultBudgets{2000000, 4000000, 8000000, 16000000};
// "2000000,4000000" to budgets; throws on a malformed one.
std::vector<long long> ReadBudgets(const std::string& text);
long long LargestBudget(const std::string& collection);

struct RecordText {
    std::string collection;  // "tactics" or "strategy"
    int number = 0;
    std::string position, side, solution, taskText, hint;
};
std::vector<RecordText> CompiledRecords();

// The rules `record` breaks: with an engine, its margins and the outcome of
// the line at the engine's score; without, the start, the end on the board
// (a score is taken as decisive) and what the hint says. `notes` receives what
// a record given as is (the worked examples, the whole-FEN record) breaks.
// Replies are judged only with `judgeReplies`; `steps`, if given, receives
// the engine's scores of the user moves that held.
std::vector<std::string> RecordProblems(const RecordText& record, const Analyser* engine, std::vector<std::string>& notes,
                                        bool judgeReplies = true, std::vector<UserStep>* steps = nullptr);
// The rules of `record` that need no engine (the start, the hint).
std::vector<std::string> RecordRuleProblems(const RecordText& record, std::vector<std::string>& notes);
bool FirstMoveChecks(const RecordText& record);

// `record`'s line at one node budget (what RecordProblems finds with the
// engine, less RecordRuleProblems): not searched beyond the largest budget of
// its collection; its replies judged at that largest budget only.
struct BudgetVerdict {
    bool searched = true;
    std::vector<std::string> problems;
    std::vector<UserStep> steps;  // the user moves that held, with their scores
};
BudgetVerdict JudgeAtBudget(const RecordText& record, long long nodes, const Analyser& engine,
                            std::vector<std::string>& notes);
