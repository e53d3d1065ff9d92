#include "Plan.h"

#include "Hints.h"
#include "Notation.h"
#include "Names.h"
#include "Select.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>

using fullchess::Position;

LengthTable TacticsLengths()
{
    return {{{1, 39}, {3, 75}, {5, 67}, {7, 27}, {9, 11}, {11, 4}, {13, 2}}};
}

LengthTable StrategyLengths()
{
    return {{{1, 85}, {3, 48}, {5, 35}, {7, 14}, {9, 6}, {15, 1}}};
}

const Candidate& WholeFenCandidate()
{
    static const Candidate fixed = [] {
        Candidate c;
        c.kind = TaskKind::Tactic;
        c.gameId = "fixed#whole-fen";
        c.ply = 16;
        c.white = "NN";
        c.black = "NN";
        c.year = 0;
        c.fen = "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 1";
        return c;
    }();
    return fixed;
}

std::string MakeHeader(const std::string& white, const std::string& black, int year)
{
    char yearText[8];
    std::snprintf(yearText, sizeof yearText, "%04d", year);
    return "[White \"" + white + "\"]\r\n[Black \"" + black + "\"]\r\n[EventDate \"" + yearText + "\"]";
}

std::string TokensOf(const std::string& fen, const std::vector<std::string>& moves, int count)
{
    auto position = Position::FromFen(fen);
    std::vector<std::string> tokens;
    for (int i = 0; i < count && position; ++i) {
        const auto move = position->ParseUci(moves[static_cast<std::size_t>(i)]);
        if (!move)
            return {};
        // The program's squares: columns 1..8 from file a, rows 1..8 from rank 8.
        tokens.push_back(WriteToken(fullchess::FileOf(move->from) + 1, 8 - fullchess::RankOf(move->from), move->capture,
                                    fullchess::FileOf(move->to) + 1, 8 - fullchess::RankOf(move->to)));
        position->Play(*move);
    }
    return JoinTokens(tokens);
}

std::string PlacementSide(const std::string& position, const std::string& side)
{
    return position.substr(0, position.find(' ')) + " " + side;
}

namespace {

bool WhiteToMove(const Candidate& c) { return c.fen.find(" w ") != std::string::npos; }

bool QuietFirstMove(const Candidate& c)
{
    auto p = Position::FromFen(c.fen);
    if (!p)
        return false;
    auto m = p->ParseUci(c.line.moves.front());
    return m && !m->capture && !p->After(*m).InCheck();
}

// The line's start asks for thought: the user is not in check and has at
// least five legal moves.
bool StartFits(const Candidate& c)
{
    const auto p = Position::FromFen(c.fen);
    return p && !c.line.moves.empty() && ReadStart(*p, c.line.moves.front()).AsksForThought();
}

bool FirstMoveChecks(const Candidate& c)
{
    const auto p = Position::FromFen(c.fen);
    return p && !c.line.moves.empty() && ReadStart(*p, c.line.moves.front()).firstMoveChecks;
}

std::string CacheKey(const Candidate& c)
{
    std::string key = KeyOf(c);
    for (const auto& m : c.line.moves)
        key += " " + m;
    if (c.firmChecked)
        key += " firm " + std::to_string(c.firm.size());
    return key;
}

// EndLengths and the story of the longest end, computed once per line.
const std::vector<int>& CachedLengths(const Candidate& c)
{
    static std::map<std::string, std::vector<int>> cache;
    const std::string key = CacheKey(c);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, EndLengths(c)).first;
    return it->second;
}

const LineStory& CachedStory(const Candidate& c, int tokens)
{
    static std::map<std::string, LineStory> cache;
    const std::string key = CacheKey(c) + " @" + std::to_string(tokens);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, ReadStory(c, tokens)).first;
    return it->second;
}

// The hint variants of a line that hold for the test as stored: whatever a
// hint says about squares, pieces and the mate must be true, and it must not
// give the move away.
std::vector<Hint> UsableHints(const Candidate& c, int tokens, bool draw)
{
    std::vector<Hint> hints = HintVariants(c, tokens, draw);
    if (const Hint* byHand = WrittenByHand(c, tokens))
        hints = {*byHand};
    if (const auto root = Position::FromFen(c.fen)) {
        const std::vector<std::string> moves(c.line.moves.begin(), c.line.moves.begin() + tokens);
        std::erase_if(hints, [&](const Hint& h) { return !HintProblems(h.text, *root, moves).empty(); });
    }
    return hints;
}

const std::vector<Hint>& CachedHints(const Candidate& c, int tokens)
{
    static std::map<std::string, std::vector<Hint>> cache;
    const std::string key = CacheKey(c) + " @" + std::to_string(tokens);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, UsableHints(c, tokens, false)).first;
    return it->second;
}

bool Offers(const std::vector<Hint>& hints, const std::string& text)
{
    return std::any_of(hints.begin(), hints.end(), [&](const Hint& h) { return h.text == text; });
}

// The line of `c` cut after `tokens` moves.
std::vector<std::string> Cut(const Candidate& c, int tokens)
{
    return {c.line.moves.begin(), c.line.moves.begin() + std::min<std::ptrdiff_t>(tokens, std::ssize(c.line.moves))};
}

// Whether the test keeps the rules of its content with this hint.
bool KeepsContent(const Candidate& c, int tokens, const Hint& hint)
{
    const auto root = Position::FromFen(c.fen);
    return root && ContentProblems(c.kind, *root, Cut(c, tokens), hint.entry).empty();
}

// Whether the candidate cut after `tokens` moves keeps the rules of a test's
// content with one of its hints at least (the hint matters only where a
// strategy line starts with an exchange).
bool KeepsContent(const Candidate& c, int tokens)
{
    static std::map<std::string, bool> cache;
    const std::string key = CacheKey(c) + " @" + std::to_string(tokens);
    auto it = cache.find(key);
    if (it == cache.end()) {
        const auto& hints = CachedHints(c, tokens);
        const bool keeps = KeepsContent(c, tokens, Hint{})
            || (c.kind == TaskKind::Strategy
                && std::any_of(hints.begin(), hints.end(), [&](const Hint& h) { return KeepsContent(c, tokens, h); }));
        it = cache.emplace(key, keeps).first;
    }
    return it->second;
}

// Whether the hints can name the plan of a strategy line.
bool PlanFound(const Candidate& c, int tokens)
{
    const auto& hints = CachedHints(c, tokens);
    return !hints.empty() && hints.front().text != "Найдите позиционно сильнейший ход.";
}

// Motifs that a collection wants on several records and that are rare in
// the lines.
bool RareMotif(Motif m)
{
    switch (m) {
    case Motif::Pin: case Motif::DiscoveredAttack: case Motif::DiscoveredCheck: case Motif::DoubleCheck:
    case Motif::Deflection: case Motif::Decoy: case Motif::Interference: case Motif::RemovalOfDefender:
    case Motif::Overload: case Motif::Intermezzo: case Motif::Clearance: case Motif::Trap: case Motif::Breakthrough:
        return true;
    default:
        return false;
    }
}

// A header is at most 76 characters: 42 of frame, 34 for the two names,
// each as "Surname, I.".
bool HeaderFits(const Candidate& c)
{
    auto length = [](const std::string& text) {
        std::size_t n = 0;
        for (unsigned char ch : text)
            n += (ch & 0xC0) != 0x80 ? 1 : 0;
        return n;
    };
    // Both players named as "Surname, I.": no team, no unknown player, no
    // surname without its initial.
    auto wellFormed = [](const std::string& name) {
        const auto comma = name.rfind(", ");
        return comma != std::string::npos && comma > 0 && name.size() >= comma + 4 && name.back() == '.'
            && name[comma + 2] >= 'A' && name[comma + 2] <= 'Z' && name.find('/') == std::string::npos;
    };
    const std::string white = HeaderName(c.white), black = HeaderName(c.black);
    return wellFormed(white) && wellFormed(black) && length(white) + length(black) <= 34;
}

bool PlacementFits(const Candidate& c)
{
    const auto length = c.fen.find(' ');
    return length >= 24 && length <= 62;
}

// How clearly the line's moves stand out: the least gap, in win chance,
// between the first and the second choice over its user moves (as mined and
// as walked at the firm count); 2 where a move was the only one.
double Margin(const Candidate& c, int tokens)
{
    const std::size_t userMoves = tokens > 0 ? static_cast<std::size_t>(tokens + 1) / 2 : c.line.steps.size();
    double least = 2;
    for (const auto* steps : {&c.line.steps, &c.firm})
        for (std::size_t i = 0; i < steps->size() && i < userMoves; ++i)
            least = std::min(least, (*steps)[i].Margin());
    return least;
}

// What a gap of the whole win chance between the first and the second choice
// is worth against the spread over eras and players.
constexpr double kMarginWeight = 50;

// A strategy start near the edge of its window often leaves it at another
// budget: beyond kStrategyCalmCp each fifth of a pawn costs a point.
constexpr int kStrategyCalmCp = 250;
double StartDriftCost(const Candidate& c)
{
    if (c.line.steps.empty() || c.line.steps.front().best.IsMate())
        return 0;
    return std::max(0, std::abs(c.line.steps.front().best.value) - kStrategyCalmCp) / 5.0;
}

// Keeps the choice spread over eras and players and prefers the move the
// master actually played.
struct Diversity {
    std::map<std::string, int> eras, players;
    std::set<std::string> games;
    std::map<Motif, int> motifs;

    double Cost(const Candidate& c, int tokens = 0) const
    {
        auto count = [](const std::map<std::string, int>& m, const std::string& k) {
            auto it = m.find(k);
            return it == m.end() ? 0 : it->second;
        };
        double cost = 2.0 * count(eras, EraOf(c)) + count(players, HeaderName(c.white)) + count(players, HeaderName(c.black));
        if (!c.line.moves.empty() && c.gameMove == c.line.moves.front())
            cost -= 6;
        // Mates with a sacrifice and queening pawns are wanted in fixed
        // numbers and are rare: take them wherever they fit.
        if (c.kind == TaskKind::Tactic && !c.line.steps.empty()) {
            const auto& lengths = CachedLengths(c);
            const auto& f = CachedStory(c, tokens > 0 ? tokens : lengths.empty() ? 1 : lengths.back());
            const auto& hints = CachedHints(c, tokens > 0 ? tokens : lengths.empty() ? 1 : lengths.back());
            if (Offers(hints, kHintMateWithSacrifice) || Offers(hints, kHintQueenThePawn))
                cost -= 20;
            // Devices the collection still lacks.
            std::set<Motif> seen;
            for (Motif m : f.motifs)
                if (RareMotif(m) && seen.insert(m).second && Diversity::count(motifs, m) < 6)
                    cost -= 4;
            if (FirstMoveChecks(c))
                cost += 1;
            // A line whose idea the hints cannot name teaches less.
            if (!std::any_of(f.motifs.begin(), f.motifs.end(), IsDevice) && !f.mates && !f.promotes)
                cost += 8;
            // ... and one whose every hint would be false or give the move away, more.
            if (std::none_of(hints.begin(), hints.end(), [](const Hint& h) { return h.motif != Motif::None; }))
                cost += 12;
        }
        if (c.kind == TaskKind::Strategy && !c.line.steps.empty()
            && !PlanFound(c, tokens > 0 ? tokens : CachedLengths(c).empty() ? 1 : CachedLengths(c).back()))
            cost += 6;
        // A strategy move that stands out from the second choice is the
        // surer test.
        if (c.kind == TaskKind::Strategy)
            cost += StartDriftCost(c) - kMarginWeight * Margin(c, tokens);
        return cost;
    }
    static int count(const std::map<Motif, int>& m, Motif k)
    {
        auto it = m.find(k);
        return it == m.end() ? 0 : it->second;
    }
    void Take(const Candidate& c, int tokens = 0)
    {
        if (c.kind == TaskKind::Tactic && !c.line.steps.empty()) {
            const auto& lengths = CachedLengths(c);
            const auto& story = CachedStory(c, tokens > 0 ? tokens : lengths.empty() ? 1 : lengths.back());
            std::set<Motif> seen(story.motifs.begin(), story.motifs.end());
            for (Motif m : seen)
                ++motifs[m];
        }
        ++eras[EraOf(c)];
        ++players[HeaderName(c.white)];
        ++players[HeaderName(c.black)];
        games.insert(c.gameId);
    }
};

// The solutions of the edition in force by placement and side, without the
// blank some lines end in.
using EditionIndex = std::map<std::string, std::set<std::string>>;

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

EditionIndex IndexEdition(const std::vector<RecordText>& current, const std::string& collection)
{
    EditionIndex index;
    for (const RecordText& r : current)
        if (r.collection == collection)
            index[PlacementSide(r)].insert(Trimmed(r.solution));
    return index;
}

// Whether the candidate cut after `tokens` moves is a record of the edition.
bool InEdition(const EditionIndex& index, const Candidate& c, int tokens)
{
    const auto it = index.find(PlacementSide(c));
    return it != index.end() && it->second.count(TokensOf(c.fen, c.line.moves, tokens)) > 0;
}

bool CanEndAt(const Candidate& c, int tokens)
{
    const auto& lengths = CachedLengths(c);
    return std::find(lengths.begin(), lengths.end(), tokens) != lengths.end();
}

int Total(const LengthTable& table)
{
    int n = 0;
    for (const auto& [tokens, count] : table.count)
        n += count;
    return n;
}

// One collection's fill: what is still missing by length and by side, the
// places passed on to shorter lines, and the tests chosen.
struct Filled {
    std::map<int, int> need, shortfall;
    int white = 0, black = 0;
    std::vector<ChosenTest> chosen;
};

// What a fill may take besides the length and the side: only quiet single
// moves (strategy), and starts with a check while the budget lasts (tactics;
// null: no limit).
struct FillRules {
    bool quietSingles = false;
    int* checkBudget = nullptr;
    const EditionIndex* edition = nullptr;  // the records to keep first, null: none
};

bool MayTake(const Candidate& c, int tokens, const Diversity& diversity, const FillRules& rules)
{
    if (diversity.games.count(c.gameId) || !CanEndAt(c, tokens) || !KeepsContent(c, tokens))
        return false;
    if (rules.quietSingles && tokens == 1 && !QuietFirstMove(c))
        return false;
    if (rules.checkBudget && *rules.checkBudget <= 0 && FirstMoveChecks(c))
        return false;
    // A strategy line must show a plan the hint can name.
    return c.kind != TaskKind::Strategy || PlanFound(c, tokens);
}

// The cheapest candidate of `pool` for a test of `tokens` with White (or
// Black) to move, or null.
const Candidate* Cheapest(const std::vector<const Candidate*>& pool, bool white, int tokens, const Diversity& diversity,
                          const FillRules& rules)
{
    const Candidate* best = nullptr;
    double bestCost = 1e18;
    for (const Candidate* c : pool) {
        if (WhiteToMove(*c) != white || !MayTake(*c, tokens, diversity, rules))
            continue;
        const double cost = diversity.Cost(*c, tokens);
        if (cost < bestCost) {
            bestCost = cost;
            best = c;
        }
    }
    return best;
}

void Take(Filled& f, const Candidate& c, int tokens, Diversity& diversity, const FillRules& rules)
{
    diversity.Take(c, tokens);
    if (rules.checkBudget && FirstMoveChecks(c))
        --*rules.checkBudget;
    (WhiteToMove(c) ? f.white : f.black)--;
    f.chosen.push_back({&c, tokens, c.kind == TaskKind::Draw, {}, {}, {}, {}, {}, {}});
    --f.need[tokens];
}

// Fills `f.need` (length -> count) from `pool`, longest first, keeping the
// white/black split, and leaves the deficits in it. A length that cannot be
// filled passes its places on to the next shorter length (recorded in
// `f.shortfall`): a shorter sound test is better than none.
void Fill(Filled& f, const std::vector<const Candidate*>& pool, Diversity& diversity, const FillRules& rules)
{
    // The records of the edition in force that keep the rules stay, each at
    // its own length: a new record costs a new check with the engine.
    if (rules.edition)
        for (const Candidate* c : pool)
            for (const auto& [tokens, left] : f.need)
                if (left > 0 && (WhiteToMove(*c) ? f.white : f.black) > 0 && InEdition(*rules.edition, *c, tokens)
                    && MayTake(*c, tokens, diversity, rules)) {
                    Take(f, *c, tokens, diversity, rules);
                    break;
                }
    const int whiteTotal = std::max(1, f.white), blackTotal = std::max(1, f.black);
    for (auto it = f.need.rbegin(); it != f.need.rend(); ++it) {
        const int tokens = it->first;
        int& left = it->second;
        while (left > 0) {
            // The side further from its share goes first.
            const bool preferWhite = f.white * blackTotal >= f.black * whiteTotal;
            const Candidate* best = nullptr;
            for (int attempt = 0; attempt < 2 && !best; ++attempt) {
                const bool white = attempt == 0 ? preferWhite : !preferWhite;
                if ((white ? f.white : f.black) > 0)
                    best = Cheapest(pool, white, tokens, diversity, rules);
            }
            if (!best)
                break;
            Take(f, *best, tokens, diversity, rules);
        }
        if (left > 0 && std::next(it) != f.need.rend()) {
            f.shortfall[tokens] += left;
            std::next(it)->second += left;
            left = 0;
        }
    }
}

// What is still to be found of a fill: its deficits and the places it passed
// on to shorter lines.
std::map<int, int> StillWanted(const Filled& f)
{
    auto wanted = f.need;
    for (const auto& [tokens, n] : f.shortfall)
        wanted[tokens] += n;
    return wanted;
}

// Unconfirmed candidates worth confirming for the deficits in `need`.
void AskFor(const std::map<int, int>& need, const std::vector<const Candidate*>& unconfirmed, const Diversity& diversity,
            bool quietSingles, std::set<const Candidate*>& ask)
{
    for (const auto& [tokens, left] : need) {
        if (left <= 0)
            continue;
        std::vector<std::pair<double, const Candidate*>> ranked;
        for (const Candidate* c : unconfirmed) {
            if (diversity.games.count(c->gameId) || ask.count(c))
                continue;
            const auto lengths = CachedLengths(*c);
            if (lengths.empty() || lengths.back() < tokens)
                continue;
            if (quietSingles && tokens == 1 && !QuietFirstMove(*c))
                continue;
            if ((c->kind == TaskKind::Strategy && !PlanFound(*c, tokens)) || !KeepsContent(*c, tokens))
                continue;
            // Candidates that end exactly here first; longer ones can be cut.
            const double cost = diversity.Cost(*c) + (CanEndAt(*c, tokens) ? 0 : 4);
            ranked.push_back({cost, c});
        }
        std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : KeyOf(*a.second) < KeyOf(*b.second);
        });
        const std::size_t want = static_cast<std::size_t>(left) + static_cast<std::size_t>(left) / 2 + 1;
        for (std::size_t i = 0; i < ranked.size() && i < want; ++i)
            ask.insert(ranked[i].second);
    }
}

// The candidates by kind: the confirmed ones that fit a test, and the ones
// still open (neither confirmed nor rejected).
struct Pools {
    std::vector<const Candidate*> tactics, draws, strategy;
    std::vector<const Candidate*> openTactics, openDraws, openStrategy;
    const Candidate* wholeFen = nullptr;
};

bool Fits(const Candidate& c) { return PlacementFits(c) && StartFits(c) && HeaderFits(c); }

Pools SortCandidates(const std::vector<Candidate>& candidates, const std::vector<Candidate>& confirmed,
                     const std::set<std::string>& rejected)
{
    Pools pools;
    std::set<std::string> confirmedKeys;
    for (const Candidate& c : confirmed) {
        confirmedKeys.insert(KeyOf(c));
        if (c.gameId == WholeFenCandidate().gameId) {
            pools.wholeFen = &c;
            continue;
        }
        if (Fits(c))
            (c.kind == TaskKind::Tactic ? pools.tactics : c.kind == TaskKind::Draw ? pools.draws : pools.strategy).push_back(&c);
    }
    for (const Candidate& c : candidates) {
        const std::string key = KeyOf(c);
        if (confirmedKeys.count(key) || rejected.count(key) || !Fits(c))
            continue;
        (c.kind == TaskKind::Tactic ? pools.openTactics : c.kind == TaskKind::Draw ? pools.openDraws : pools.openStrategy)
            .push_back(&c);
    }
    return pools;
}

// The draw tests chosen and what is still missing of them.
struct DrawChoice {
    int white = 0, black = 0, stalemates = 0;
    // Places for the stalemates are kept free while stalemate candidates are
    // still waiting to be confirmed.
    bool stalemateHope = false;
    std::vector<ChosenTest> chosen;
};

void TakeDraws(DrawChoice& choice, const std::vector<const Candidate*>& draws, Diversity& diversity, bool wantStalemate)
{
    for (const Candidate* c : draws) {
        if (diversity.games.count(c->gameId))
            continue;
        if (!wantStalemate && choice.stalemateHope)
            break;
        const int tokens = CachedLengths(*c).back();
        if (!KeepsContent(*c, tokens))
            continue;
        const bool stalemate = ReadStory(*c, tokens).stalemate;
        if (wantStalemate != stalemate || (wantStalemate && choice.stalemates <= 0))
            continue;
        int& sideNeed = WhiteToMove(*c) ? choice.white : choice.black;
        if (sideNeed <= 0)
            continue;
        --sideNeed;
        if (stalemate)
            --choice.stalemates;
        diversity.Take(*c);
        choice.chosen.push_back({c, tokens, true, {}, {}, {}, {}, {}, {}});
    }
}

DrawChoice ChooseDraws(std::vector<const Candidate*> draws, const std::vector<const Candidate*>& openDraws,
                       const PlanTargets& targets, Diversity& diversity)
{
    DrawChoice choice;
    choice.white = targets.drawsWhite;
    choice.black = targets.drawsBlack;
    choice.stalemates = targets.stalemates;
    for (const Candidate* c : openDraws) {
        const auto lengths = CachedLengths(*c);
        choice.stalemateHope = choice.stalemateHope || (!lengths.empty() && ReadStory(*c, lengths.back()).stalemate);
    }
    // A perpetual check names its idea and a plain save does not: perpetuals
    // first. Draw tests count in the tactics lengths too: then long ones
    // first, since long lines are the scarce ones.
    std::stable_sort(draws.begin(), draws.end(), [](const Candidate* a, const Candidate* b) {
        const bool pa = ReadStory(*a, CachedLengths(*a).back()).perpetual, pb = ReadStory(*b, CachedLengths(*b).back()).perpetual;
        return pa != pb ? pa : CachedLengths(*a).back() > CachedLengths(*b).back();
    });
    TakeDraws(choice, draws, diversity, true);
    TakeDraws(choice, draws, diversity, false);
    return choice;
}

// Open draw candidates worth confirming while draw places are missing:
// stalemates first, then the longest lines; a few more than needed.
void AskForDraws(const DrawChoice& choice, const std::vector<const Candidate*>& openDraws, const Diversity& diversity,
                 std::set<const Candidate*>& ask)
{
    if (choice.white + choice.black <= 0 && choice.stalemates <= 0)
        return;
    std::vector<std::pair<int, const Candidate*>> ranked;
    for (const Candidate* c : openDraws) {
        if (diversity.games.count(c->gameId))
            continue;
        const auto lengths = CachedLengths(*c);
        if (lengths.empty())
            continue;
        const bool stalemate = ReadStory(*c, lengths.back()).stalemate;
        ranked.push_back({(stalemate && choice.stalemates > 0 ? 100 : 0) + lengths.back(), c});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    const std::size_t want = static_cast<std::size_t>(
        3 * (std::max(0, choice.white) + std::max(0, choice.black) + std::max(0, choice.stalemates)));
    for (std::size_t i = 0; i < ranked.size() && i < want; ++i)
        ask.insert(ranked[i].second);
}

// Tactics: the table less the fixed records (example 3 tokens, draw example
// 1, whole FEN 3) and the draws.
Filled FillTactics(const Pools& pools, const DrawChoice& draws, const PlanTargets& targets, Diversity& diversity,
                   std::set<const Candidate*>& ask, const EditionIndex& edition)
{
    Filled f;
    f.need = targets.tactics.count;
    f.need[3] -= 2;
    f.need[1] -= 1;
    for (const auto& d : draws.chosen)
        f.need[d.tokens]--;
    // Draw tests not found yet keep their places free for later.
    f.white = targets.tacticsWhite - 3 - targets.drawsWhite;
    f.black = Total(targets.tactics) - targets.tacticsWhite - targets.drawsBlack;
    // The worked example and the whole-FEN record start with a check.
    int checkBudget = targets.checkStarts - 2;
    for (const auto& d : draws.chosen)
        checkBudget -= FirstMoveChecks(*d.candidate) ? 1 : 0;
    Fill(f, pools.tactics, diversity, {false, &checkBudget, &edition});
    AskFor(StillWanted(f), pools.openTactics, diversity, false, ask);
    return f;
}

// Strategy: the table less the worked example (1 token).
Filled FillStrategy(const Pools& pools, const PlanTargets& targets, Diversity& diversity, std::set<const Candidate*>& ask,
                    const EditionIndex& edition)
{
    Filled f;
    f.need = targets.strategy.count;
    f.need[1] -= 1;
    f.white = targets.strategyWhite - 1;
    f.black = Total(targets.strategy) - targets.strategyWhite;
    Fill(f, pools.strategy, diversity, {true, nullptr, &edition});
    AskFor(StillWanted(f), pools.openStrategy, diversity, true, ask);
    return f;
}

// The chosen lines not yet walked at the firm count are walked now; the plan
// is complete only when every one of them held. Returns how many there are.
int AskForFirmWalks(const PlanResult& plan, std::set<const Candidate*>& ask)
{
    int unfirm = 0;
    for (const auto* list : {&plan.tactics, &plan.strategy})
        for (const ChosenTest& t : *list)
            if (t.candidate && !t.candidate->firmChecked && t.candidate->gameId != WholeFenCandidate().gameId) {
                ask.insert(t.candidate);
                ++unfirm;
            }
    return unfirm;
}

// The places still missing. Stalemate saves the pool cannot give leave their
// places to other draws; they hold the plan up only while a candidate may
// still turn out one.
int Missing(const Filled& tactics, const Filled& strategy, const DrawChoice& draws, bool wholeFen)
{
    int missing = 0;
    for (const auto* f : {&tactics, &strategy})
        for (const auto& [tokens, left] : f->need)
            missing += std::max(0, left);
    return missing + std::max(0, draws.white) + std::max(0, draws.black)
        + (draws.stalemateHope ? std::max(0, draws.stalemates) : 0) + (wholeFen ? 0 : 1);
}

std::string PlanReport(const Filled& tactics, const Filled& strategy, const DrawChoice& draws, bool wholeFen, int unfirm)
{
    std::ostringstream report;
    auto needText = [](const std::map<int, int>& m) {
        std::string text;
        for (const auto& [tokens, left] : m)
            text += " " + std::to_string(tokens) + ":" + std::to_string(left);
        return text;
    };
    auto shortText = [&](const std::map<int, int>& m) { return m.empty() ? std::string(" none") : needText(m); };
    report << "select: tactics by length (still missing):" << needText(tactics.need) << "; sides missing w "
           << tactics.white << " b " << tactics.black << "; draws missing w " << draws.white << " b " << draws.black
           << " stalemate " << draws.stalemates << (wholeFen ? "" : "; whole-FEN record not confirmed")
           << "\nselect: strategy by length (still missing):" << needText(strategy.need) << "; sides missing w "
           << strategy.white << " b " << strategy.black << "\n";
    report << "select: lines too few, places given to shorter ones: tactics" << shortText(tactics.shortfall)
           << "; strategy" << shortText(strategy.shortfall) << "\n";
    report << "select: chosen lines still to be walked at the firm count: " << unfirm << "\n";
    return report.str();
}

// The rarest first: the fixed record, draws, then the longest lines.
std::vector<const Candidate*> RankedToConfirm(const std::set<const Candidate*>& ask)
{
    std::vector<const Candidate*> out(ask.begin(), ask.end());
    auto rank = [](const Candidate* c) {
        if (c->line.steps.empty())
            return 100;
        const auto lengths = CachedLengths(*c);
        return (c->kind == TaskKind::Draw ? 50 : 0) + (lengths.empty() ? 0 : lengths.back());
    };
    std::sort(out.begin(), out.end(), [&](const Candidate* a, const Candidate* b) {
        return rank(a) != rank(b) ? rank(a) > rank(b) : KeyOf(*a) < KeyOf(*b);
    });
    return out;
}

} // namespace

PlanTargets EditionTargets()
{
    PlanTargets targets;
    targets.tactics = TacticsLengths();
    targets.strategy = StrategyLengths();
    targets.tacticsWhite = kTacticsWhite;
    targets.strategyWhite = kStrategyWhite;
    // Besides the fixed white stalemate: four white and five black draws,
    // four of them stalemates.
    targets.drawsWhite = kDrawTests / 2 - 1;
    targets.drawsBlack = kDrawTests / 2;
    targets.stalemates = 4;
    targets.checkStarts = kTacticsCount / 2;
    return targets;
}

PlanResult MakePlan(const std::vector<Candidate>& candidates, const std::vector<Candidate>& confirmed,
                    const std::set<std::string>& rejected, const PlanTargets& targets, const std::vector<RecordText>& current)
{
    const Pools pools = SortCandidates(candidates, confirmed, rejected);
    std::set<const Candidate*> ask;
    if (!pools.wholeFen && !rejected.count(KeyOf(WholeFenCandidate())))
        ask.insert(&WholeFenCandidate());

    Diversity diversity;
    const DrawChoice draws = ChooseDraws(pools.draws, pools.openDraws, targets, diversity);
    AskForDraws(draws, pools.openDraws, diversity, ask);
    const Filled tactics = FillTactics(pools, draws, targets, diversity, ask, IndexEdition(current, "tactics"));
    const Filled strategy = FillStrategy(pools, targets, diversity, ask, IndexEdition(current, "strategy"));

    PlanResult result;
    result.tactics = draws.chosen;
    result.tactics.insert(result.tactics.end(), tactics.chosen.begin(), tactics.chosen.end());
    // The whole-FEN record stands with its given line, which ends before the
    // material is back: confirmed sound, it is taken as it is.
    if (pools.wholeFen && pools.wholeFen->line.moves.size() >= 3)
        result.tactics.push_back({pools.wholeFen, 3, false, {}, {}, {}, {}, {}, {}});
    result.strategy = strategy.chosen;
    const int unfirm = AskForFirmWalks(result, ask);
    result.report = PlanReport(tactics, strategy, draws, pools.wholeFen != nullptr, unfirm);
    result.complete = Missing(tactics, strategy, draws, pools.wholeFen != nullptr) + unfirm == 0;
    result.toConfirm = RankedToConfirm(ask);
    return result;
}

namespace {

std::size_t Utf8Length(const std::string& text)
{
    std::size_t n = 0;
    for (unsigned char ch : text)
        n += (ch & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// The variant the record's hint was taken from, or its fixed hint.
Hint ChosenHint(const Record& r)
{
    for (const Hint& h : r.hintVariants)
        if (h.text == r.hint)
            return h;
    return r.fixed;
}

// The assignment of AssignHints, step by step. It keeps the uses of each text
// and the records on each motif up to date as records take hints (`Take`).
class HintAssigner {
public:
    HintAssigner(std::vector<Record>& records, const HintTargets& targets) : m_records(records), m_targets(targets) {}

    std::string Run()
    {
        Prepare();
        PlaceSpecial();
        PlaceOpen();
        SpreadMotifs();
        Balance();
        return Note();
    }

private:
    using Chain = std::vector<std::pair<Record*, const Hint*>>;  // records and the hints they switch to

    // The state of one search for a chain in `Relay`.
    struct RelaySearch {
        int room = 0;
        std::map<std::string, std::vector<Record*>> holders;
        Chain chain;
        std::set<const Record*> visited;
        std::string relieved;
    };

    std::vector<Record>& m_records;
    const HintTargets& m_targets;
    std::map<std::string, int> m_uses;
    std::map<Motif, int> m_motifs;
    std::set<Motif> m_givenUp;  // devices that cannot reach their floor: they may give

    static Motif MotifOf(const Record& r) { return ChosenHint(r).motif; }

    static std::vector<Motif> MotifChoices(const Record& r)
    {
        std::vector<Motif> out;
        for (const Hint& h : r.hintVariants)
            if (std::find(out.begin(), out.end(), h.motif) == out.end())
                out.push_back(h.motif);
        return out;
    }

    bool IsSpecial(const std::string& text) const { return m_targets.special.count(text) > 0; }

    int Count() const
    {
        int n = 0;
        for (const auto& [h, u] : m_uses)
            n += u > 0 ? 1 : 0;
        return n;
    }

    void Take(Record& r, const std::string& text)
    {
        if (!r.hint.empty()) {
            --m_uses[r.hint];
            --m_motifs[MotifOf(r)];
        }
        r.hint = text;
        ++m_uses[r.hint];
        ++m_motifs[MotifOf(r)];
    }

    // Variants outside the length bounds go; a record left with none gets the
    // general one. Hints already given are counted.
    void Prepare()
    {
        for (Record& r : m_records) {
            std::erase_if(r.hintVariants, [&](const Hint& h) {
                const auto n = Utf8Length(h.text);
                return n < m_targets.minLength || n > m_targets.maxLength;
            });
            if (r.hintVariants.empty() && r.hint.empty())
                r.hintVariants.push_back({"Найдите сильнейшее продолжение.", Motif::None, "general.strongest"});
            if (!r.hint.empty()) {
                ++m_uses[r.hint];
                ++m_motifs[MotifOf(r)];
            }
        }
    }

    // The named hints: records that offer them first, then any that offer them.
    void PlaceSpecial()
    {
        for (const auto& [hint, wanted] : m_targets.special) {
            for (int pass = 0; pass < 2; ++pass)
                for (Record& r : m_records)
                    if (r.hint.empty() && m_uses[hint] < wanted && Offers(r.hintVariants, hint)
                        && (pass == 1 || r.hintVariants.front().text == hint))
                        Take(r, hint);
            for (Record& r : m_records)
                if (r.hint.empty())
                    std::erase_if(r.hintVariants, [&](const Hint& h) { return h.text == hint; });
        }
    }

    // A named device rather than a mere gain; among devices, the one that is
    // furthest below the floor, else the line's first.
    Motif ChooseMotif(const std::vector<Motif>& choices)
    {
        Motif chosen = choices.front();
        for (Motif m : choices)
            if (IsDevice(m) && !IsDevice(chosen))
                chosen = m;
        for (Motif m : choices)
            if (IsDevice(m) && m_motifs[m] < m_targets.motifFloor
                && (m_motifs[chosen] >= m_targets.motifFloor || m_motifs[m] < m_motifs[chosen]))
                chosen = m;
        return chosen;
    }

    // The last of the record's variants that `fits`, or null.
    template <typename Fits>
    static const Hint* LastVariant(const Record& r, Fits fits)
    {
        for (auto it = r.hintVariants.rbegin(); it != r.hintVariants.rend(); ++it)
            if (fits(*it))
                return &*it;
        return nullptr;
    }

    // A motif per record: the rarer motifs first while they are below the
    // floor, else the line's first idea; within it an unused text, else one
    // below the cap, else any text below the cap.
    void PlaceOpen()
    {
        std::vector<Record*> open;
        for (Record& r : m_records)
            if (r.hint.empty())
                open.push_back(&r);
        std::stable_sort(open.begin(), open.end(),
                         [](const Record* a, const Record* b) { return MotifChoices(*a).size() < MotifChoices(*b).size(); });
        const int cap = m_targets.perTextCap;
        for (Record* r : open) {
            const Motif chosen = ChooseMotif(MotifChoices(*r));
            const Hint* h = LastVariant(*r, [&](const Hint& v) { return v.motif == chosen && m_uses[v.text] == 0; });
            if (!h)
                h = LastVariant(*r, [&](const Hint& v) { return v.motif == chosen && m_uses[v.text] < cap; });
            if (!h)
                h = LastVariant(*r, [&](const Hint& v) { return m_uses[v.text] < cap; });
            Take(*r, h ? h->text : r->hintVariants.back().text);
        }
    }

    // The record's variant of motif `m` with room, the least used.
    const Hint* VariantFor(const Record& r, Motif m)
    {
        const Hint* found = nullptr;
        for (const Hint& h : r.hintVariants)
            if (h.motif == m && !IsSpecial(h.text) && m_uses[h.text] < m_targets.perTextCap
                && (!found || m_uses[h.text] < m_uses[found->text]))
                found = &h;
        return found;
    }

    // A device below its floor takes records from motifs above theirs: a
    // record offering the device switches to it, or, where every such record
    // is held by a motif at its floor, a record of that motif switches on in
    // turn, and so on, the shortest way.
    bool Raise(Motif target)
    {
        std::map<Motif, std::pair<Record*, const Hint*>> via;  // a record of this motif and the switch it makes
        std::map<Motif, Motif> towards;
        std::vector<Motif> queue{target};
        for (std::size_t at = 0; at < queue.size(); ++at)
            for (Record& r : m_records) {
                const Motif current = MotifOf(r);
                if (r.hint.empty() || IsSpecial(r.hint) || current == target || via.count(current))
                    continue;
                const Hint* h = VariantFor(r, queue[at]);
                if (!h)
                    continue;
                via[current] = {&r, h};
                towards[current] = queue[at];
                if (m_motifs[current] <= m_targets.motifFloor && !m_givenUp.count(current)) {
                    queue.push_back(current);
                    continue;
                }
                for (Motif m = current; m != target; m = towards[m])
                    Take(*via[m].first, via[m].second->text);
                return true;
            }
        return false;
    }

    // Raises `m` to its floor, or, where it cannot get there, leaves every
    // record as it was, so that it takes nothing another device needs.
    bool RaiseToFloor(Motif m)
    {
        const auto keptRecords = m_records;
        const auto keptUses = m_uses;
        const auto keptMotifs = m_motifs;
        while (m_motifs[m] < m_targets.motifFloor && Raise(m)) {
        }
        if (m_motifs[m] >= m_targets.motifFloor)
            return true;
        m_records = keptRecords;
        m_uses = keptUses;
        m_motifs = keptMotifs;
        return false;
    }

    // Devices that fail are given up and may then give to the others.
    void SpreadMotifs()
    {
        std::set<Motif> wanted;
        for (const Record& r : m_records)
            for (const Hint& h : r.hintVariants)
                if (IsDevice(h.motif) && m_motifs[h.motif] < m_targets.motifFloor)
                    wanted.insert(h.motif);
        for (bool progress = true; progress;) {
            progress = false;
            for (Motif m : wanted) {
                if (m_motifs[m] >= m_targets.motifFloor)
                    continue;
                const bool wasGivenUp = m_givenUp.erase(m) > 0;
                if (RaiseToFloor(m)) {
                    progress = true;
                    continue;
                }
                m_givenUp.insert(m);
                progress = progress || !wasGivenUp;
            }
        }
    }

    // Switches `r` to another of its variants: to a text already used and
    // below the cap (`fewer`), else to an unused one. With `sameMotif` the
    // motif stays; without, the old motif must stay above its floor.
    bool ShiftRecord(Record& r, bool fewer, bool sameMotif)
    {
        if (r.hintVariants.empty() || IsSpecial(r.hint) || (fewer ? m_uses[r.hint] != 1 : m_uses[r.hint] < 2))
            return false;
        const Motif old = MotifOf(r);
        for (const Hint& h : r.hintVariants) {
            if (h.text == r.hint || IsSpecial(h.text) || (sameMotif && h.motif != old)
                || (!sameMotif && m_motifs[old] <= m_targets.motifFloor))
                continue;
            if (fewer ? (m_uses[h.text] >= 1 && m_uses[h.text] < m_targets.perTextCap) : m_uses[h.text] == 0) {
                Take(r, h.text);
                return true;
            }
        }
        return false;
    }

    // Switches one record's hint, keeping its motif where it can.
    bool Shift(bool fewer)
    {
        for (int sameMotif = 1; sameMotif >= 0; --sameMotif)
            for (Record& r : m_records)
                if (ShiftRecord(r, fewer, sameMotif == 1))
                    return true;
        return false;
    }

    // No motif falls below its floor and no named device turns into a mere
    // gain on the way.
    bool ChainHolds(const Chain& chain)
    {
        std::map<Motif, int> delta;
        for (const auto& [r, h] : chain) {
            --delta[MotifOf(*r)];
            ++delta[h->motif];
        }
        int devices = 0;
        for (const auto& [m, d] : delta) {
            if (d < 0 && m_motifs[m] + d < m_targets.motifFloor)
                return false;
            devices += IsDevice(m) ? d : 0;
        }
        return devices >= 0;
    }

    bool ExtendThrough(RelaySearch& s, const std::string& text)
    {
        for (Record* next : s.holders[text])
            if (Extend(s, next))
                return true;
        return false;
    }

    // Grows the chain from `r`: it takes one of its other variants, which
    // ends the chain where that text has room, else moves one of its holders
    // on in turn; at most five records.
    bool Extend(RelaySearch& s, Record* r)
    {
        if (s.chain.size() >= 5 || !s.visited.insert(r).second)
            return false;
        for (const Hint& h : r->hintVariants) {
            if (h.text == r->hint || h.text == s.relieved || IsSpecial(h.text))
                continue;
            s.chain.emplace_back(r, &h);
            if (m_uses[h.text] < s.room ? ChainHolds(s.chain) : ExtendThrough(s, h.text))
                return true;
            s.chain.pop_back();
        }
        return false;
    }

    // Where no single switch will do, a chain may: a record takes a hint that
    // another holds, which takes another, until the last takes a hint with
    // room (`room`: fewer uses than that). Started from records on a hint with
    // more than `over` uses.
    bool Relay(int over, int room)
    {
        RelaySearch s;
        s.room = room;
        for (Record& r : m_records)
            s.holders[r.hint].push_back(&r);
        for (Record& r : m_records) {
            if (r.hintVariants.empty() || IsSpecial(r.hint) || m_uses[r.hint] <= over)
                continue;
            s.visited.clear();
            s.relieved = r.hint;
            if (Extend(s, &r)) {
                for (auto it = s.chain.rbegin(); it != s.chain.rend(); ++it)
                    Take(*it->first, it->second->text);
                return true;
            }
        }
        return false;
    }

    // No text over the cap where a chain can relieve it; then the distinct
    // count, by single switches and, to gain texts, by chains.
    void Balance()
    {
        const int cap = m_targets.perTextCap, distinct = m_targets.distinct;
        for (int guard = 0; guard < 1000 && Relay(cap, cap); ++guard) {
        }
        for (int guard = 0; guard < 10000 && Count() != distinct; ++guard)
            if (!Shift(Count() > distinct) && (Count() > distinct || !Relay(1, 1)))
                break;
    }

    std::string Note()
    {
        std::string note;
        for (const auto& [hint, wanted] : m_targets.special)
            if (m_uses[hint] != wanted)
                note += "hint \"" + hint + "\" on " + std::to_string(m_uses[hint]) + " records, not " + std::to_string(wanted) + "\n";
        for (const auto& [hint, uses] : m_uses)
            if (!IsSpecial(hint) && uses > m_targets.perTextCap)
                note += "hint \"" + hint + "\" on " + std::to_string(uses) + " records, more than "
                    + std::to_string(m_targets.perTextCap) + "\n";
        if (Count() != m_targets.distinct)
            note += std::to_string(Count()) + " distinct hints, not " + std::to_string(m_targets.distinct) + "\n";
        return note;
    }
};

} // namespace

std::string AssignHints(std::vector<Record>& records, const HintTargets& targets)
{
    return HintAssigner(records, targets).Run();
}

namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += ch;
        }
    }
    return out;
}

void WriteTable(const std::filesystem::path& path, const std::string& function, const std::vector<Record>& records)
{
    std::ostringstream out;
    out << "// Generated by tresolvin-tasks select from the mined candidates. Do not edit by hand.\n"
        << "#include \"../TaskData.h\"\n\nnamespace {\nconst TaskData kTasks[] = {\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        out << "    // " << (i + 1) << "\n"
            << "    {\"" << Escape(r.header) << "\",\n     \"" << Escape(r.position) << "\", \"" << r.side << "\", \""
            << Escape(r.solution) << "\",\n     \"" << Escape(r.taskText) << "\",\n     \"" << Escape(r.hint) << "\"},\n";
    }
    out << "};\n} // namespace\n\nstd::span<const TaskData> " << function << "()\n{\n    return kTasks;\n}\n";
    std::ofstream file(path, std::ios::trunc);
    file << out.str();
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

Record FromCandidate(const ChosenTest& t)
{
    const Candidate& c = *t.candidate;
    Record r;
    r.white = WhiteToMove(c);
    r.side = r.white ? "w" : "b";
    r.draw = t.draw;
    const bool fixedFen = c.gameId == WholeFenCandidate().gameId;
    r.position = fixedFen ? std::string(kWholeFen) : c.fen.substr(0, c.fen.find(' '));
    r.solution = TokensOf(c.fen, c.line.moves, t.tokens);
    r.header = MakeHeader(HeaderName(c.white), HeaderName(c.black), c.year);
    r.hintVariants = UsableHints(c, t.tokens, t.draw);
    // The given line of the whole-FEN record stands as given, whatever its
    // content; no hint can mend that, so none is dropped for it.
    if (!fixedFen)
        std::erase_if(r.hintVariants, [&](const Hint& h) { return !KeepsContent(c, t.tokens, h); });
    r.provenance = c.white + "\t" + c.black + "\t" + c.event + "\t" + std::to_string(c.year) + "\t"
        + std::to_string(c.ply / 2 + 1) + "\t" + c.gameId;
    return r;
}

} // namespace

void ShowHints(const PlanResult& plan, std::ostream& out)
{
    for (const auto* list : {&plan.tactics, &plan.strategy})
        for (const ChosenTest& t : *list) {
            const Record r = FromCandidate(t);
            out << r.position << " " << r.side << "  " << r.solution << (t.draw ? "  (draw)" : "") << "\n";
            for (const Hint& h : r.hintVariants)
                out << "    [" << MotifName(h.motif) << "] " << h.text << "\n";
        }
}

// One of the three worked examples, which stand as given; `player` names
// both sides, since their games are not known.
Record WorkedExample(const std::string& player, int year, const char* position, const char* solution,
                     const std::string& taskText, const std::string& hint, Motif motif)
{
    Record r;
    r.header = MakeHeader(player, player, year);
    r.position = position;
    r.side = "w";
    r.solution = solution;
    r.taskText = taskText;
    r.hint = hint;
    r.fixed = {hint, motif, kEntryGiven};
    r.provenance = player + "\t" + player + "\t?\t" + std::to_string(year) + "\t?\tworked example";
    return r;
}

namespace {

const std::string kWhiteText = "Ход белых. Найдите оптимальный вариант";
const std::string kBlackText = "Ход черных. Найдите оптимальный вариант";

// A record of the edition in force keeps its number, its task text and its
// solution as written (a verdict of the engine is kept under them), and its
// hint while that is one of its variants.
void Adopt(std::vector<Record>& records, const std::vector<RecordText>& current, const std::string& collection)
{
    std::map<std::string, const RecordText*> index;
    for (const RecordText& e : current)
        if (e.collection == collection)
            index[PlacementSide(e) + " " + Trimmed(e.solution)] = &e;
    for (Record& r : records) {
        const auto it = index.find(PlacementSide(r.position, r.side) + " " + Trimmed(r.solution));
        if (it == index.end())
            continue;
        r.number = it->second->number;
        r.taskText = it->second->taskText;
        r.solution = it->second->solution;
        if (Offers(r.hintVariants, it->second->hint))
            r.hint = it->second->hint;
    }
}

// The records of the edition in force at their numbers, the new ones in the
// places left, in their order.
std::vector<Record> Placed(std::vector<Record> records)
{
    std::vector<std::optional<Record>> places(records.size());
    std::vector<Record> fresh;
    for (Record& r : records) {
        const auto at = static_cast<std::size_t>(r.number - 1);
        if (r.number >= 1 && at < places.size() && !places[at])
            places[at] = std::move(r);
        else
            fresh.push_back(std::move(r));
    }
    std::vector<Record> out;
    auto next = fresh.begin();
    for (auto& place : places)
        out.push_back(place ? std::move(*place) : std::move(*next++));
    return out;
}

// Draw texts: per side three with the period, one with two blanks, one
// without the final period; the fixed white draw has the first form. Kept
// records keep theirs, and the new ones take the forms left.
void SetTacticsTexts(std::vector<Record>& tactics)
{
    std::map<bool, std::vector<std::string>> forms;
    for (const bool white : {true, false}) {
        const std::string base = white ? kWhiteText : kBlackText;
        forms[white] = {base + ". Сделайте ничью.", base + ". Сделайте ничью.", base + ".  Сделайте ничью.",
                        base + ". Сделайте ничью"};
        if (!white)
            forms[white].insert(forms[white].begin(), base + ". Сделайте ничью.");
    }
    for (const Record& r : tactics)
        if (auto& left = forms[r.white]; r.draw && r.number != 0)
            if (const auto it = std::find(left.begin(), left.end(), r.taskText); it != left.end())
                left.erase(it);
    for (Record& r : tactics) {
        const std::string base = r.white ? kWhiteText : kBlackText;
        auto& left = forms[r.white];
        if (r.number != 0)
            continue;
        r.taskText = !r.draw ? base + "." : left.empty() ? base + ". Сделайте ничью" : left.front();
        if (r.draw && !left.empty())
            left.erase(left.begin());
    }
}

// The two worked examples first, then the mined tests and the whole-FEN
// record in shuffled order.
std::vector<Record> TacticsTable(const PlanResult& plan, const std::vector<RecordText>& current, std::mt19937& random,
                                 std::string& note)
{
    Record example = WorkedExample("N.N.", 1945, "r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1",
                                   "f5-h6 g7:h6 g5:f6", kWhiteText + ".", "Попробуйте выиграть на связке.", Motif::Pin);
    Record drawExample = WorkedExample("N.N.", 1953, "4Q3/7k/2p2q1p/1p3p1K/5P2/p6P/8/8", "h3-h4",
                                       kWhiteText + ". Сделайте ничью.", kHintStalemate, Motif::Stalemate);
    drawExample.draw = true;

    std::vector<Record> tactics;
    for (const ChosenTest& t : plan.tactics)
        tactics.push_back(FromCandidate(t));
    for (Record& r : tactics)
        if (r.position == kWholeFen)
            r.header = MakeHeader("NN", "NN", 0);
    Adopt(tactics, current, "tactics");
    SetTacticsTexts(tactics);
    std::vector<Record> allTactics{example, drawExample};
    allTactics.insert(allTactics.end(), tactics.begin(), tactics.end());
    note += AssignHints(allTactics, kTacticsHints);
    std::vector<Record> mined(allTactics.begin() + 2, allTactics.end());
    std::shuffle(mined.begin(), mined.end(), random);
    // Eight lines carry one blank after the last token (kept ones as written).
    std::size_t marked = 0;
    for (const Record& r : mined)
        marked += r.solution.ends_with(' ') ? 1 : 0;
    for (std::size_t i = 0; i < mined.size() && marked < 8; ++i)
        if (mined[i].position != kWholeFen && mined[i].number == 0) {
            mined[i].solution += ' ';
            ++marked;
        }
    std::shuffle(mined.begin(), mined.end(), random);
    std::vector<Record> tacticsOut{allTactics[0], allTactics[1]};
    tacticsOut.insert(tacticsOut.end(), mined.begin(), mined.end());
    return Placed(std::move(tacticsOut));
}

// The worked example first, then the mined tests in shuffled order; sixteen
// white and one black task text lack the final period.
std::vector<Record> StrategyTable(const PlanResult& plan, const std::vector<RecordText>& current, std::mt19937& random,
                                  std::string& note)
{
    Record strategyExample = WorkedExample("NN", 2008, "8/8/5pkp/3Q4/5P2/1P4K1/6P1/1r5r", "f4-f5", kWhiteText + ".",
                                           "Захват пространства в большинстве случаев хорош.", Motif::Plan);
    std::vector<Record> strategy{strategyExample};
    for (const ChosenTest& t : plan.strategy)
        strategy.push_back(FromCandidate(t));
    Adopt(strategy, current, "strategy");
    std::vector<std::size_t> whites, blacks;
    std::size_t keptWhite = 0, keptBlack = 0;  // kept texts without the period
    for (std::size_t i = 1; i < strategy.size(); ++i)
        if (strategy[i].number == 0)
            (strategy[i].white ? whites : blacks).push_back(i);
        else if (!strategy[i].taskText.ends_with('.'))
            ++(strategy[i].white ? keptWhite : keptBlack);
    std::shuffle(whites.begin(), whites.end(), random);
    std::shuffle(blacks.begin(), blacks.end(), random);
    std::set<std::size_t> noPeriod(whites.begin(), whites.begin() + std::min<std::size_t>(16 - std::min<std::size_t>(16, keptWhite), whites.size()));
    if (!blacks.empty() && keptBlack == 0)
        noPeriod.insert(blacks.front());
    for (std::size_t i = 1; i < strategy.size(); ++i)
        if (strategy[i].number == 0)
            strategy[i].taskText = (strategy[i].white ? kWhiteText : kBlackText) + (noPeriod.count(i) ? "" : ".");
    note += AssignHints(strategy, kStrategyHints);
    std::vector<Record> strategyMined(strategy.begin() + 1, strategy.end());
    std::shuffle(strategyMined.begin(), strategyMined.end(), random);
    std::vector<Record> strategyOut{strategy[0]};
    strategyOut.insert(strategyOut.end(), strategyMined.begin(), strategyMined.end());
    return Placed(std::move(strategyOut));
}

} // namespace

void WriteCollections(const PlanResult& plan, const std::string& outDir, const std::vector<RecordText>& current)
{
    // One seed for both tables, tactics first: the same plan gives the same tables.
    std::mt19937 random(414u);
    std::string note;
    const std::vector<Record> tacticsOut = TacticsTable(plan, current, random, note);
    const std::vector<Record> strategyOut = StrategyTable(plan, current, random, note);

    std::filesystem::create_directories(outDir);
    WriteTable(std::filesystem::path(outDir) / "TacticsTasks.cpp", "TacticsTasks", tacticsOut);
    WriteTable(std::filesystem::path(outDir) / "StrategyTasks.cpp", "StrategyTasks", strategyOut);

    const auto provenancePath = std::filesystem::path(outDir).parent_path() / "PROVENANCE.tsv";
    std::ofstream provenance(provenancePath, std::ios::trunc);
    // Each record with where it comes from and the motif and catalogue entry of its hint.
    provenance << "collection\tnumber\twhite\tblack\tevent\tyear\tmove\tgame\tmotif\tentry\n";
    auto line = [&](const char* collection, std::size_t i, const Record& r) {
        const Hint hint = ChosenHint(r);
        provenance << collection << '\t' << (i + 1) << '\t' << r.provenance << '\t' << MotifName(hint.motif) << '\t'
                   << hint.entry << '\n';
    };
    for (std::size_t i = 0; i < tacticsOut.size(); ++i)
        line("tactics", i, tacticsOut[i]);
    for (std::size_t i = 0; i < strategyOut.size(); ++i)
        line("strategy", i, strategyOut[i]);
    // A hint written by hand that a guard refuses, or that the counts could
    // not take, leaves its record a generated one: say so, as no reader
    // would see it otherwise.
    auto unused = [&](const char* collection, const std::vector<Record>& table) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            const Record& r = table[i];
            std::istringstream solution(r.solution);
            const auto tokens = std::distance(std::istream_iterator<std::string>(solution), std::istream_iterator<std::string>());
            const Hint* byHand = WrittenByHandAt(r.position.substr(0, r.position.find(' ')), static_cast<int>(tokens));
            if (byHand && ChosenHint(r).text != byHand->text)
                note += std::string(collection) + " " + std::to_string(i + 1) + ": the hint written by hand is not used («"
                    + byHand->text + "»: a guard refuses it or the counts did not take it)\n";
        }
    };
    unused("tactics", tacticsOut);
    unused("strategy", strategyOut);
    // The count balance may move a record in force off the hint a reader
    // passed: say which, so that it is read again.
    auto moved = [&](const char* collection, const std::vector<Record>& table) {
        for (const Record& r : table)
            for (const RecordText& e : current)
                if (r.number > 0 && e.collection == collection && e.number == r.number && ChosenHint(r).text != e.hint)
                    note += std::string(collection) + " " + std::to_string(r.number) + ": the hint changed («" + e.hint
                        + "» → «" + ChosenHint(r).text + "»); read it again\n";
    };
    moved("tactics", tacticsOut);
    moved("strategy", strategyOut);
    if (!note.empty())
        std::cerr << "select: hints: " << note;
    std::cerr << "select: wrote " << tacticsOut.size() << " tactics and " << strategyOut.size() << " strategy tests\n";
}
