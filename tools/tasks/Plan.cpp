#include "Plan.h"

#include "Hints.h"
#include "Notation.h"
#include "Names.h"
#include "Select.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
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

bool CanEndAt(const Candidate& c, int tokens)
{
    const auto& lengths = CachedLengths(c);
    return std::find(lengths.begin(), lengths.end(), tokens) != lengths.end();
}

// Fills `need` (length -> count) from `pool`, longest first, keeping the
// white/black split. Returns the chosen tests and leaves the deficits in need.
// A length that cannot be filled passes its places on to the next shorter
// length (recorded in `shortfall`): a shorter sound test is better than none.
std::vector<ChosenTest> Fill(std::map<int, int>& need, int& whiteNeed, int& blackNeed,
                             const std::vector<const Candidate*>& pool, Diversity& diversity, bool quietSingles,
                             std::map<int, int>& shortfall, int* checkBudget = nullptr)
{
    std::vector<ChosenTest> chosen;
    const int whiteTotal = std::max(1, whiteNeed), blackTotal = std::max(1, blackNeed);
    for (auto it = need.rbegin(); it != need.rend(); ++it) {
        const int tokens = it->first;
        int& left = it->second;
        while (left > 0) {
            // The side further from its share goes first.
            const bool preferWhite = whiteNeed * blackTotal >= blackNeed * whiteTotal;
            const Candidate* best = nullptr;
            for (int attempt = 0; attempt < 2 && !best; ++attempt) {
                const bool white = attempt == 0 ? preferWhite : !preferWhite;
                if ((white && whiteNeed <= 0) || (!white && blackNeed <= 0))
                    continue;
                double bestCost = 1e18;
                for (const Candidate* c : pool) {
                    if (WhiteToMove(*c) != white || diversity.games.count(c->gameId) || !CanEndAt(*c, tokens))
                        continue;
                    if (quietSingles && tokens == 1 && !QuietFirstMove(*c))
                        continue;
                    if (checkBudget && *checkBudget <= 0 && FirstMoveChecks(*c))
                        continue;
                    // A strategy line must show a plan the hint can name.
                    if (c->kind == TaskKind::Strategy && !PlanFound(*c, tokens))
                        continue;
                    const double cost = diversity.Cost(*c, tokens);
                    if (cost < bestCost) {
                        bestCost = cost;
                        best = c;
                    }
                }
            }
            if (!best)
                break;
            diversity.Take(*best, tokens);
            if (checkBudget && FirstMoveChecks(*best))
                --*checkBudget;
            (WhiteToMove(*best) ? whiteNeed : blackNeed)--;
            chosen.push_back({best, tokens, best->kind == TaskKind::Draw, {}, {}, {}, {}, {}, {}});
            --left;
        }
        if (left > 0 && std::next(it) != need.rend()) {
            shortfall[tokens] += left;
            std::next(it)->second += left;
            left = 0;
        }
    }
    return chosen;
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
            if (c->kind == TaskKind::Strategy && !PlanFound(*c, tokens))
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

} // namespace

PlanResult MakePlan(const std::vector<Candidate>& candidates, const std::vector<Candidate>& confirmed,
                    const std::set<std::string>& rejected)
{
    PlanResult result;
    std::ostringstream report;
    std::set<std::string> confirmedKeys;
    std::vector<const Candidate*> tactics, draws, strategy;
    const Candidate* wholeFen = nullptr;
    for (const Candidate& c : confirmed) {
        confirmedKeys.insert(KeyOf(c));
        if (c.gameId == WholeFenCandidate().gameId) {
            wholeFen = &c;
            continue;
        }
        if (!PlacementFits(c) || !StartFits(c) || !HeaderFits(c))
            continue;
        (c.kind == TaskKind::Tactic ? tactics : c.kind == TaskKind::Draw ? draws : strategy).push_back(&c);
    }
    std::vector<const Candidate*> openTactics, openDraws, openStrategy;
    for (const Candidate& c : candidates) {
        const std::string key = KeyOf(c);
        if (confirmedKeys.count(key) || rejected.count(key) || !PlacementFits(c) || !StartFits(c) || !HeaderFits(c))
            continue;
        (c.kind == TaskKind::Tactic ? openTactics : c.kind == TaskKind::Draw ? openDraws : openStrategy).push_back(&c);
    }
    std::set<const Candidate*> ask;
    if (!wholeFen && !rejected.count(KeyOf(WholeFenCandidate())))
        ask.insert(&WholeFenCandidate());

    Diversity diversity;
    // Draw tests: four with stalemate besides the fixed one, five in all per side
    // counting the fixed white one.
    int drawWhite = 4, drawBlack = 5, stalemates = 4;
    std::vector<ChosenTest> chosenDraws;
    // Places for the stalemates are kept free while stalemate candidates are
    // still waiting to be confirmed.
    bool stalemateHope = false;
    for (const Candidate* c : openDraws) {
        const auto lengths = CachedLengths(*c);
        stalemateHope = stalemateHope || (!lengths.empty() && ReadStory(*c, lengths.back()).stalemate);
    }
    int plainDraws = 0;
    // A perpetual check names its idea and a plain save does not: perpetuals
    // first. Draw tests count in the tactics lengths too: then long ones
    // first, since long lines are the scarce ones.
    std::stable_sort(draws.begin(), draws.end(), [](const Candidate* a, const Candidate* b) {
        const bool pa = ReadStory(*a, CachedLengths(*a).back()).perpetual, pb = ReadStory(*b, CachedLengths(*b).back()).perpetual;
        return pa != pb ? pa : CachedLengths(*a).back() > CachedLengths(*b).back();
    });
    auto takeDraws = [&](bool wantStalemate) {
        for (const Candidate* c : draws) {
            if (diversity.games.count(c->gameId))
                continue;
            if (!wantStalemate && stalemateHope)
                break;
            const auto lengths = CachedLengths(*c);
            const int tokens = lengths.back();
            const bool stalemate = ReadStory(*c, tokens).stalemate;
            if (wantStalemate != stalemate || (wantStalemate && stalemates <= 0))
                continue;
            int& sideNeed = WhiteToMove(*c) ? drawWhite : drawBlack;
            if (sideNeed <= 0)
                continue;
            --sideNeed;
            if (stalemate)
                --stalemates;
            else
                ++plainDraws;
            diversity.Take(*c);
            chosenDraws.push_back({c, tokens, true, {}, {}, {}, {}, {}, {}});
        }
    };
    takeDraws(true);
    takeDraws(false);
    if (drawWhite + drawBlack > 0 || stalemates > 0) {
        // Stalemates first, then the longest lines; a few more than needed.
        std::vector<std::pair<int, const Candidate*>> ranked;
        for (const Candidate* c : openDraws) {
            if (diversity.games.count(c->gameId))
                continue;
            const auto lengths = CachedLengths(*c);
            if (lengths.empty())
                continue;
            const bool stalemate = ReadStory(*c, lengths.back()).stalemate;
            ranked.push_back({(stalemate && stalemates > 0 ? 100 : 0) + lengths.back(), c});
        }
        std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        const std::size_t want = static_cast<std::size_t>(3 * (std::max(0, drawWhite) + std::max(0, drawBlack) + std::max(0, stalemates)));
        for (std::size_t i = 0; i < ranked.size() && i < want; ++i)
            ask.insert(ranked[i].second);
    }

    // Tactics: the table less the fixed records (example 3 tokens, draw
    // example 1, whole FEN 3) and the draws.
    auto tacticNeed = TacticsLengths().count;
    tacticNeed[3] -= 2;
    tacticNeed[1] -= 1;
    for (const auto& d : chosenDraws)
        tacticNeed[d.tokens]--;
    // Draw tests not found yet keep their places free for later.
    int tacticWhite = kTacticsWhite - 3 - 4;
    int tacticBlack = kTacticsCount - kTacticsWhite - 5;
    std::map<int, int> tacticShort, strategyShort;
    // At most half of the tactics start with a check: the worked example and
    // the whole-FEN record do.
    int checkBudget = kTacticsCount / 2 - 2;
    for (const auto& d : chosenDraws)
        checkBudget -= FirstMoveChecks(*d.candidate) ? 1 : 0;
    auto tacticsChosen = Fill(tacticNeed, tacticWhite, tacticBlack, tactics, diversity, false, tacticShort, &checkBudget);
    auto tacticAsk = tacticNeed;
    for (const auto& [tokens, n] : tacticShort)
        tacticAsk[tokens] += n;
    AskFor(tacticAsk, openTactics, diversity, false, ask);

    auto strategyNeed = StrategyLengths().count;
    strategyNeed[1] -= 1;
    int strategyWhite = kStrategyWhite - 1, strategyBlack = kStrategyCount - kStrategyWhite;
    auto strategyChosen = Fill(strategyNeed, strategyWhite, strategyBlack, strategy, diversity, true, strategyShort);
    auto strategyAsk = strategyNeed;
    for (const auto& [tokens, n] : strategyShort)
        strategyAsk[tokens] += n;
    AskFor(strategyAsk, openStrategy, diversity, true, ask);

    result.tactics = chosenDraws;
    result.tactics.insert(result.tactics.end(), tacticsChosen.begin(), tacticsChosen.end());
    // The whole-FEN record stands with its given line, which ends before the
    // material is back: confirmed sound, it is taken as it is.
    if (wholeFen && wholeFen->line.moves.size() >= 3)
        result.tactics.push_back({wholeFen, 3, false, {}, {}, {}, {}, {}, {}});
    result.strategy = strategyChosen;
    // The chosen lines not yet walked at the firm count are walked now; the
    // plan is complete only when every one of them held.
    int unfirm = 0;
    for (const auto* list : {&result.tactics, &result.strategy})
        for (const ChosenTest& t : *list)
            if (t.candidate && !t.candidate->firmChecked && t.candidate->gameId != WholeFenCandidate().gameId) {
                ask.insert(t.candidate);
                ++unfirm;
            }

    int missing = 0;
    report << "select: tactics by length (still missing):";
    for (const auto& [tokens, left] : tacticNeed) {
        report << " " << tokens << ":" << left;
        missing += std::max(0, left);
    }
    report << "; sides missing w " << tacticWhite << " b " << tacticBlack << "; draws missing w " << drawWhite
           << " b " << drawBlack << " stalemate " << stalemates << (wholeFen ? "" : "; whole-FEN record not confirmed")
           << "\nselect: strategy by length (still missing):";
    for (const auto& [tokens, left] : strategyNeed) {
        report << " " << tokens << ":" << left;
        missing += std::max(0, left);
    }
    report << "; sides missing w " << strategyWhite << " b " << strategyBlack << "\n";
    auto shortText = [](const std::map<int, int>& m) {
        std::string text;
        for (const auto& [tokens, n] : m)
            text += " " + std::to_string(tokens) + ":" + std::to_string(n);
        return text.empty() ? std::string(" none") : text;
    };
    report << "select: lines too few, places given to shorter ones: tactics" << shortText(tacticShort) << "; strategy"
           << shortText(strategyShort) << "\n";
    report << "select: chosen lines still to be walked at the firm count: " << unfirm << "\n";
    missing += unfirm;
    // Stalemate saves the pool cannot give leave their places to other draws;
    // they hold the plan up only while a candidate may still turn out one.
    missing += std::max(0, drawWhite) + std::max(0, drawBlack) + (stalemateHope ? std::max(0, stalemates) : 0)
        + (wholeFen ? 0 : 1);
    result.complete = missing == 0;
    result.toConfirm.assign(ask.begin(), ask.end());
    // The rarest first: the fixed record, draws, then the longest lines.
    auto rank = [](const Candidate* c) {
        if (c->line.steps.empty())
            return 100;
        const auto lengths = CachedLengths(*c);
        return (c->kind == TaskKind::Draw ? 50 : 0) + (lengths.empty() ? 0 : lengths.back());
    };
    std::sort(result.toConfirm.begin(), result.toConfirm.end(), [&](const Candidate* a, const Candidate* b) {
        return rank(a) != rank(b) ? rank(a) > rank(b) : KeyOf(*a) < KeyOf(*b);
    });
    result.report = report.str();
    return result;
}

namespace {

struct Record {
    std::string header, position, side, solution, taskText, hint;
    std::string provenance;  // tab-separated: white, black, event, year, move, game
    std::vector<Hint> hintVariants;  // empty for fixed hints
    Hint fixed;                      // a fixed hint's motif and entry
    bool white = true;
    bool draw = false;
};

// The variant the record's hint was taken from, or its fixed hint.
Hint ChosenHint(const Record& r)
{
    for (const Hint& h : r.hintVariants)
        if (h.text == r.hint)
            return h;
    return r.fixed;
}

std::size_t Utf8Length(const std::string& text)
{
    std::size_t n = 0;
    for (unsigned char ch : text)
        n += (ch & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// Chooses one hint per record: exactly `special` uses of the named hints, no
// other hint on more than `cap` records, `distinct` different hints in all
// where the variants allow it, and the motifs spread so that as many as can
// stand on `motifFloor` records do. Returns a note on what could not be met.
std::string AssignHints(std::vector<Record>& records, const std::map<std::string, int>& special, int distinct, int cap,
                        std::size_t minLength, std::size_t maxLength, int motifFloor)
{
    std::map<std::string, int> uses;
    std::map<Motif, int> motifs;
    auto motifOf = [](const Record& r) { return ChosenHint(r).motif; };
    auto take = [&](Record& r, const std::string& text) {
        if (!r.hint.empty()) {
            --uses[r.hint];
            --motifs[motifOf(r)];
        }
        r.hint = text;
        ++uses[r.hint];
        ++motifs[motifOf(r)];
    };
    for (Record& r : records) {
        std::erase_if(r.hintVariants, [&](const Hint& h) {
            const auto n = Utf8Length(h.text);
            return n < minLength || n > maxLength;
        });
        if (r.hintVariants.empty() && r.hint.empty())
            r.hintVariants.push_back({"Найдите сильнейшее продолжение.", Motif::None, "general.strongest"});
        if (!r.hint.empty()) {
            ++uses[r.hint];
            ++motifs[motifOf(r)];
        }
    }
    // The named hints: records that offer them first, then any that offer them.
    for (const auto& [hint, wanted] : special) {
        for (int pass = 0; pass < 2; ++pass)
            for (Record& r : records)
                if (r.hint.empty() && uses[hint] < wanted && Offers(r.hintVariants, hint)
                    && (pass == 1 || r.hintVariants.front().text == hint))
                    take(r, hint);
        for (Record& r : records)
            if (r.hint.empty())
                std::erase_if(r.hintVariants, [&](const Hint& h) { return h.text == hint; });
    }
    // A motif per record: the rarer motifs first while they are below the
    // floor, else the line's first idea.
    std::vector<Record*> open;
    for (Record& r : records)
        if (r.hint.empty())
            open.push_back(&r);
    auto motifChoices = [](const Record& r) {
        std::vector<Motif> out;
        for (const Hint& h : r.hintVariants)
            if (std::find(out.begin(), out.end(), h.motif) == out.end())
                out.push_back(h.motif);
        return out;
    };
    std::stable_sort(open.begin(), open.end(),
                     [&](const Record* a, const Record* b) { return motifChoices(*a).size() < motifChoices(*b).size(); });
    for (Record* r : open) {
        const auto choices = motifChoices(*r);
        // A named device rather than a mere gain; among devices, the one that
        // is furthest below the floor, else the line's first.
        Motif chosen = choices.front();
        for (Motif m : choices)
            if (IsDevice(m) && !IsDevice(chosen))
                chosen = m;
        for (Motif m : choices)
            if (IsDevice(m) && motifs[m] < motifFloor && (motifs[chosen] >= motifFloor || motifs[m] < motifs[chosen]))
                chosen = m;
        std::string text;
        for (auto it = r->hintVariants.rbegin(); it != r->hintVariants.rend() && text.empty(); ++it)
            if (it->motif == chosen && uses[it->text] == 0)
                text = it->text;
        for (auto it = r->hintVariants.rbegin(); it != r->hintVariants.rend() && text.empty(); ++it)
            if (it->motif == chosen && uses[it->text] < cap)
                text = it->text;
        for (auto it = r->hintVariants.rbegin(); it != r->hintVariants.rend() && text.empty(); ++it)
            if (uses[it->text] < cap)
                text = it->text;
        take(*r, text.empty() ? r->hintVariants.back().text : text);
    }
    auto count = [&] {
        int n = 0;
        for (const auto& [h, u] : uses)
            n += u > 0 ? 1 : 0;
        return n;
    };
    auto isSpecial = [&](const std::string& h) { return special.count(h) > 0; };
    // A device below its floor takes records from motifs above theirs: a
    // record offering the device switches to it, or, where every such record
    // is held by a motif at its floor, a record of that motif switches on in
    // turn, and so on, the shortest way. A device that cannot reach its floor
    // keeps what it had, so that it takes nothing another one needs.
    auto variantFor = [&](const Record& r, Motif m) -> const Hint* {
        const Hint* found = nullptr;
        for (const Hint& h : r.hintVariants)
            if (h.motif == m && !isSpecial(h.text) && uses[h.text] < cap && (!found || uses[h.text] < uses[found->text]))
                found = &h;
        return found;
    };
    std::set<Motif> givenUp;  // devices that cannot reach their floor: they may give
    auto raise = [&](Motif target) {
        std::map<Motif, std::pair<Record*, const Hint*>> via;  // a record of this motif and the switch it makes
        std::map<Motif, Motif> towards;
        std::vector<Motif> queue{target};
        for (std::size_t at = 0; at < queue.size(); ++at)
            for (Record& r : records) {
                const Motif current = motifOf(r);
                if (r.hint.empty() || isSpecial(r.hint) || current == target || via.count(current))
                    continue;
                const Hint* h = variantFor(r, queue[at]);
                if (!h)
                    continue;
                via[current] = {&r, h};
                towards[current] = queue[at];
                if (motifs[current] <= motifFloor && !givenUp.count(current)) {
                    queue.push_back(current);
                    continue;
                }
                for (Motif m = current; m != target; m = towards[m])
                    take(*via[m].first, via[m].second->text);
                return true;
            }
        return false;
    };
    std::set<Motif> wanted;
    for (const Record& r : records)
        for (const Hint& h : r.hintVariants)
            if (IsDevice(h.motif) && motifs[h.motif] < motifFloor)
                wanted.insert(h.motif);
    // Devices that fail are given up and may then give to the others.
    for (bool progress = true; progress;) {
        progress = false;
        for (Motif m : wanted) {
            if (motifs[m] >= motifFloor)
                continue;
            const auto keptRecords = records;
            const auto keptUses = uses;
            const auto keptMotifs = motifs;
            const bool wasGivenUp = givenUp.erase(m) > 0;
            while (motifs[m] < motifFloor && raise(m)) {
            }
            if (motifs[m] >= motifFloor) {
                progress = true;
                continue;
            }
            records = keptRecords;
            uses = keptUses;
            motifs = keptMotifs;
            givenUp.insert(m);
            progress = progress || !wasGivenUp;
        }
    }
    // Switches one record's hint to another of its variants; the motif stays
    // unless the old one keeps its floor.
    auto shift = [&](bool fewer) {
        for (int sameMotif = 1; sameMotif >= 0; --sameMotif)
            for (Record& r : records) {
                if (r.hintVariants.empty() || isSpecial(r.hint) || (fewer ? uses[r.hint] != 1 : uses[r.hint] < 2))
                    continue;
                const Motif old = motifOf(r);
                for (const Hint& h : r.hintVariants) {
                    if (h.text == r.hint || isSpecial(h.text) || (sameMotif && h.motif != old)
                        || (!sameMotif && motifs[old] <= motifFloor))
                        continue;
                    if (fewer ? (uses[h.text] >= 1 && uses[h.text] < cap) : uses[h.text] == 0) {
                        take(r, h.text);
                        return true;
                    }
                }
            }
        return false;
    };
    // Where no single switch will do, a chain may: a record takes a hint that
    // another holds, which takes another, until the last takes a hint with
    // room (`room`: fewer uses than that). Started from records on a hint with
    // more than `over` uses. No motif falls below its floor and no named
    // device turns into a mere gain on the way.
    auto chainHolds = [&](const std::vector<std::pair<Record*, const Hint*>>& chain) {
        std::map<Motif, int> delta;
        for (const auto& [r, h] : chain) {
            --delta[motifOf(*r)];
            ++delta[h->motif];
        }
        int devices = 0;
        for (const auto& [m, d] : delta) {
            if (d < 0 && motifs[m] + d < motifFloor)
                return false;
            devices += IsDevice(m) ? d : 0;
        }
        return devices >= 0;
    };
    auto relay = [&](int over, int room) {
        std::map<std::string, std::vector<Record*>> holders;
        for (Record& r : records)
            holders[r.hint].push_back(&r);
        std::vector<std::pair<Record*, const Hint*>> chain;
        std::set<const Record*> visited;
        std::string relieved;
        std::function<bool(Record*)> extend = [&](Record* r) {
            if (chain.size() >= 5 || !visited.insert(r).second)
                return false;
            for (const Hint& h : r->hintVariants) {
                if (h.text == r->hint || h.text == relieved || isSpecial(h.text))
                    continue;
                chain.emplace_back(r, &h);
                if (uses[h.text] < room) {
                    if (chainHolds(chain))
                        return true;
                } else {
                    for (Record* next : holders[h.text])
                        if (extend(next))
                            return true;
                }
                chain.pop_back();
            }
            return false;
        };
        for (Record& r : records) {
            if (r.hintVariants.empty() || isSpecial(r.hint) || uses[r.hint] <= over)
                continue;
            visited.clear();
            relieved = r.hint;
            if (extend(&r)) {
                for (auto it = chain.rbegin(); it != chain.rend(); ++it)
                    take(*it->first, it->second->text);
                return true;
            }
        }
        return false;
    };
    for (int guard = 0; guard < 1000 && relay(cap, cap); ++guard) {
    }
    for (int guard = 0; guard < 10000 && count() != distinct; ++guard)
        if (!shift(count() > distinct) && (count() > distinct || !relay(1, 1)))
            break;
    std::string note;
    for (const auto& [hint, wanted] : special)
        if (uses[hint] != wanted)
            note += "hint \"" + hint + "\" on " + std::to_string(uses[hint]) + " records, not " + std::to_string(wanted) + "\n";
    if (count() != distinct)
        note += std::to_string(count()) + " distinct hints, not " + std::to_string(distinct) + "\n";
    return note;
}

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

void WriteCollections(const PlanResult& plan, const std::string& outDir)
{
    std::mt19937 random(414u);
    const std::string white = "Ход белых. Найдите оптимальный вариант", black = "Ход черных. Найдите оптимальный вариант";

    // Tactics.
    Record example = WorkedExample("N.N.", 1945, "r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1",
                                   "f5-h6 g7:h6 g5:f6", white + ".", "Попробуйте выиграть на связке.", Motif::Pin);
    Record drawExample = WorkedExample("N.N.", 1953, "4Q3/7k/2p2q1p/1p3p1K/5P2/p6P/8/8", "h3-h4",
                                       white + ". Сделайте ничью.", kHintStalemate, Motif::Stalemate);
    drawExample.draw = true;

    std::vector<Record> tactics;
    for (const ChosenTest& t : plan.tactics)
        tactics.push_back(FromCandidate(t));
    for (Record& r : tactics)
        if (r.position == kWholeFen)
            r.header = MakeHeader("NN", "NN", 0);
    // Draw texts: per side three with the period, one with two blanks, one
    // without the final period; the fixed white draw has the first form.
    int drawForm[2] = {1, 0};
    for (Record& r : tactics) {
        const std::string base = r.white ? white : black;
        if (!r.draw) {
            r.taskText = base + ".";
            continue;
        }
        int& k = drawForm[r.white ? 0 : 1];
        r.taskText = k < 3 ? base + ". Сделайте ничью." : k == 3 ? base + ".  Сделайте ничью." : base + ". Сделайте ничью";
        ++k;
    }
    std::vector<Record> allTactics{example, drawExample};
    allTactics.insert(allTactics.end(), tactics.begin(), tactics.end());
    std::string note = AssignHints(allTactics, {{kHintMateWithSacrifice, 12}, {kHintQueenThePawn, 6}, {kHintStalemate, 5}},
                                   175, 4, 14, 143, 5);
    std::vector<Record> mined(allTactics.begin() + 2, allTactics.end());
    std::shuffle(mined.begin(), mined.end(), random);
    // Eight lines carry one blank after the last token.
    for (std::size_t i = 0, marked = 0; i < mined.size() && marked < 8; ++i)
        if (mined[i].position != kWholeFen) {
            mined[i].solution += ' ';
            ++marked;
        }
    std::shuffle(mined.begin(), mined.end(), random);
    std::vector<Record> tacticsOut{allTactics[0], allTactics[1]};
    tacticsOut.insert(tacticsOut.end(), mined.begin(), mined.end());

    // Strategy.
    Record strategyExample = WorkedExample("NN", 2008, "8/8/5pkp/3Q4/5P2/1P4K1/6P1/1r5r", "f4-f5", white + ".",
                                           "Захват пространства в большинстве случаев хорош.", Motif::Plan);
    std::vector<Record> strategy{strategyExample};
    for (const ChosenTest& t : plan.strategy)
        strategy.push_back(FromCandidate(t));
    std::vector<std::size_t> whites, blacks;
    for (std::size_t i = 1; i < strategy.size(); ++i)
        (strategy[i].white ? whites : blacks).push_back(i);
    std::shuffle(whites.begin(), whites.end(), random);
    std::shuffle(blacks.begin(), blacks.end(), random);
    std::set<std::size_t> noPeriod(whites.begin(), whites.begin() + std::min<std::size_t>(16, whites.size()));
    if (!blacks.empty())
        noPeriod.insert(blacks.front());
    for (std::size_t i = 1; i < strategy.size(); ++i)
        strategy[i].taskText = (strategy[i].white ? white : black) + (noPeriod.count(i) ? "" : ".");
    note += AssignHints(strategy, {}, 114, 4, 13, 254, 0);
    std::vector<Record> strategyMined(strategy.begin() + 1, strategy.end());
    std::shuffle(strategyMined.begin(), strategyMined.end(), random);
    std::vector<Record> strategyOut{strategy[0]};
    strategyOut.insert(strategyOut.end(), strategyMined.begin(), strategyMined.end());

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
    if (!note.empty())
        std::cerr << "select: hints: " << note;
    std::cerr << "select: wrote " << tacticsOut.size() << " tactics and " << strategyOut.size() << " strategy tests\n";
}
