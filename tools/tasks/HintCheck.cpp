// The mechanical check of a hint against its test: what a hint says about
// squares, pieces and the mate can be read off the board without an engine,
// and so can whether the idea it names leaves the user a choice.
#include "BoardFacts.h"
#include "HintCatalogue.h"
#include "HintGuards.h"
#include "HintWords.h"
#include "Hints.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

using fullchess::King;
using fullchess::Move;
using fullchess::Pawn;
using fullchess::PieceType;
using fullchess::Position;
using namespace facts;

// ---- The give-away guards.

bool MayNameKind(const Position& root, PieceType kind)
{
    int count = 0;
    for (int sq = 0; sq < 64; ++sq) {
        if (!Own(root.At(sq), root.WhiteToMove()) || KindOf(root.At(sq)) != kind)
            continue;
        ++count;
        if (LegalMovesOf(root, sq) < 3)
            return false;
    }
    return count > 0;
}

bool MayPlace(const Position& root, const Move& first, const PieceRef& piece)
{
    return piece.start >= 0 && piece.start != first.to && KindOf(root.At(piece.start)) == piece.kind;
}

bool PassedPawnIsTheMove(const Position& root, const Move& first)
{
    return KindOf(root.At(first.from)) == Pawn && !first.capture && PassedPawn(root, first.from) && PassedPawnMoves(root) < 3;
}

bool PassedPawnsAreTheMove(const Position& root, const Move&) { return PassedPawnMoves(root) < 3; }

bool WingPassedPawnsAreTheMove(const Position& root, const Move& first)
{
    const int file = fullchess::FileOf(first.to);
    const int from = file <= 2 ? 0 : file >= 5 ? 5 : 3;
    const int to = file <= 2 ? 2 : file >= 5 ? 7 : 4;
    return PassedPawnMoves(root, from, to) < 3;
}

bool OnlyPassedPawnIsTheMove(const Position& root, const Move& first)
{
    return KindOf(root.At(first.from)) == Pawn && !first.capture && PassedPawn(root, first.from)
        && PassedPawnCount(root, root.WhiteToMove()) == 1;
}

bool KingForwardIsTheMove(const Position& root, const Move& first)
{
    const bool white = root.WhiteToMove();
    const int king = KingOf(root, white);
    return OnlyPassedPawnIsTheMove(root, first) || LegalMovesWhere(root, [&](const Move& m) {
               return m.from == king && RelativeRank(m.to, white) > RelativeRank(king, white);
           }) < 2;
}

bool KingIsTheMove(const Position& root, const Move& first)
{
    return KindOf(root.At(first.from)) == King || OnlyPassedPawnIsTheMove(root, first);
}

bool KingOffLine(const Position& root, const Move& first)
{
    const bool white = root.WhiteToMove();
    return KindOf(root.At(first.from)) == King && SlidersAimedAt(root, first.to, white) < SlidersAimedAt(root, first.from, white);
}

bool KingOffLineIsTheMove(const Position& root, const Move&)
{
    return LegalMovesWhere(root, [&](const Move& m) { return KingOffLine(root, m); }) < 2;
}

bool KnightOffTheRim(const Position& root, const Move& first)
{
    const auto rim = [](int sq) { return fullchess::FileOf(sq) == 0 || fullchess::FileOf(sq) == 7; };
    return KindOf(root.At(first.from)) == fullchess::Knight && !first.capture && rim(first.from) && !rim(first.to);
}

bool KnightOffTheRimIsTheMove(const Position& root, const Move&)
{
    return LegalMovesWhere(root, [&](const Move& m) { return KnightOffTheRim(root, m); }) < 2;
}

bool RookLift(const Position& root, const Move& first)
{
    const bool white = root.WhiteToMove();
    return KindOf(root.At(first.from)) == fullchess::Rook && !first.capture && fullchess::FileOf(first.from) == fullchess::FileOf(first.to)
        && RelativeRank(first.from, white) == 0 && RelativeRank(first.to, white) >= 2 && RelativeRank(first.to, white) <= 3;
}

bool RookLiftIsTheMove(const Position& root, const Move&)
{
    return LegalMovesWhere(root, [&](const Move& m) { return RookLift(root, m); }) < 2;
}

bool KnightToCentre(const Position& root, const Move& first)
{
    const auto centre = [](int sq) {
        const int file = fullchess::FileOf(sq), rank = fullchess::RankOf(sq);
        return file >= 2 && file <= 5 && rank >= 2 && rank <= 5;
    };
    return KindOf(root.At(first.from)) == fullchess::Knight && !first.capture && !centre(first.from) && centre(first.to);
}

bool KnightToCentreIsTheMove(const Position& root, const Move&)
{
    return LegalMovesWhere(root, [&](const Move& m) { return KnightToCentre(root, m); }) < 2;
}

bool KingToCentreIsTheMove(const Position& root, const Move&)
{
    const auto centre = [](int sq) { return std::abs(2 * fullchess::FileOf(sq) - 7) + std::abs(2 * fullchess::RankOf(sq) - 7); };
    const int king = KingOf(root, root.WhiteToMove());
    return LegalMovesWhere(root, [&](const Move& m) { return m.from == king && centre(m.to) < centre(m.from); }) < 2;
}

namespace {

// Distinct pieces with a legal move for which `pred(move)` holds.
template <class Pred>
int PiecesWhere(const Position& root, Pred pred)
{
    std::set<int> from;
    for (const auto& m : root.LegalMoves())
        if (pred(m))
            from.insert(m.from);
    return static_cast<int>(from.size());
}

// A pawn push that meets an enemy pawn, to a square where no enemy pawn
// simply takes it for nothing.
bool IsLever(const Position& root, const Move& m)
{
    if (KindOf(root.At(m.from)) != Pawn || m.capture)
        return false;
    const Position after = root.After(m);
    const bool white = root.WhiteToMove();
    const auto takers = Attackers(after, m.to, !white);
    const bool lost = !Defended(after, m.to)
        && std::any_of(takers.begin(), takers.end(), [&](int sq) { return KindOf(after.At(sq)) == Pawn; });
    return PawnLever(after, m.to, white) && !lost;
}

} // namespace

bool LeverIsTheMove(const Position& root, const Move&)
{
    return PiecesWhere(root, [&](const Move& m) { return IsLever(root, m); }) < 2;
}

bool LeverWingIsTheMove(const Position& root, const Move& first)
{
    const std::string wing = WingPhrase(first.to);
    return PiecesWhere(root, [&](const Move& m) { return IsLever(root, m) && WingPhrase(m.to) == wing; }) < 2;
}

bool BatteryIsTheMove(const Position& root, const Move&)
{
    return LegalMovesWhere(root, [&](const Move& m) {
               const PieceType kind = KindOf(root.At(m.from));
               return (kind == fullchess::Rook || kind == fullchess::Queen) && !m.capture
                   && HeavyBattery(root.After(m), m.to, root.WhiteToMove());
           }) < 2;
}

namespace {

// How many of the user's pieces check the enemy king after `m`, and whether
// one of them is not the piece that moved.
struct CheckAfter {
    std::size_t checkers = 0;
    bool uncovered = false;
};

CheckAfter ChecksAfter(const Position& root, const Move& m)
{
    const bool white = root.WhiteToMove();
    const Position after = root.After(m);
    const int king = KingOf(after, !white);
    if (king < 0 || !after.InCheck())
        return {};
    const auto checkers = Attackers(after, king, white);
    return {checkers.size(), std::any_of(checkers.begin(), checkers.end(), [&](int sq) { return sq != m.to; })};
}

} // namespace

bool DiscoveredCheckIsTheMove(const Position& root, const Move& first)
{
    const auto discovered = [&](const Move& m) { return ChecksAfter(root, m).uncovered; };
    return discovered(first) && LegalMovesWhere(root, discovered) < 2;
}

bool DoubleCheckIsTheMove(const Position& root, const Move& first)
{
    const auto doubled = [&](const Move& m) { return ChecksAfter(root, m).checkers >= 2; };
    return doubled(first) && LegalMovesWhere(root, doubled) < 2;
}

bool HitIsTheMove(const Position& root, const Move& first)
{
    const auto targets = NewTargets(root, root.After(first), first.from, first.to);
    if (targets.empty())
        return false;
    const int target = targets.front();
    return LegalMovesWhere(root, [&](const Move& m) {
               const auto hit = NewTargets(root, root.After(m), m.from, m.to);
               return std::find(hit.begin(), hit.end(), target) != hit.end();
           }) < 2;
}

bool TakesTheKind(const Position& root, const Move& first, PieceType kind)
{
    return first.capture && kind != fullchess::Empty && KindOf(root.At(first.to)) == kind;
}

bool WingIsTheMove(const Position& root, const Move& first)
{
    const PieceType kind = KindOf(root.At(first.from));
    const std::string wing = WingPhrase(first.to);
    const auto onto = [&](const Move& m) { return KindOf(root.At(m.from)) == kind && WingPhrase(m.to) == wing; };
    return (kind == Pawn ? PiecesWhere(root, onto) : LegalMovesWhere(root, onto)) < 2;
}

bool NamedPieceWingIsTheMove(const Position& root, const Move& first)
{
    return !MayNameKind(root, KindOf(root.At(first.from))) || WingIsTheMove(root, first);
}

namespace {

int HeavyMovesOnto(const Position& root, int file, bool rooksOnly)
{
    return LegalMovesWhere(root, [&](const Move& m) {
        const PieceType kind = KindOf(root.At(m.from));
        return (kind == fullchess::Rook || (kind == fullchess::Queen && !rooksOnly)) && fullchess::FileOf(m.to) == file
            && fullchess::FileOf(m.from) != file;
    });
}

bool OnLongDiagonal(int sq, bool a1h8)
{
    const int file = fullchess::FileOf(sq), rank = fullchess::RankOf(sq);
    return a1h8 ? file == rank : file + rank == 7;
}

} // namespace

bool FileIsTheMove(const Position& root, const Move& first) { return HeavyMovesOnto(root, fullchess::FileOf(first.to), false) < 2; }

bool RookFileIsTheMove(const Position& root, const Move& first) { return HeavyMovesOnto(root, fullchess::FileOf(first.to), true) < 2; }

bool SeventhIsTheMove(const Position& root, const Move& first)
{
    const bool white = root.WhiteToMove();
    if (RelativeRank(first.from, white) == 6)
        return false;  // a rook already there goes along it
    return LegalMovesWhere(root, [&](const Move& m) {
               return KindOf(root.At(m.from)) == fullchess::Rook && RelativeRank(m.to, white) == 6
                   && RelativeRank(m.from, white) != 6;
           }) < 2;
}

bool DiagonalIsTheMove(const Position& root, const Move& first)
{
    const bool a1h8 = fullchess::FileOf(first.to) == fullchess::RankOf(first.to);
    return LegalMovesWhere(root, [&](const Move& m) {
               const PieceType kind = KindOf(root.At(m.from));
               return (kind == fullchess::Bishop || kind == fullchess::Queen) && OnLongDiagonal(m.to, a1h8)
                   && !OnLongDiagonal(m.from, a1h8);
           }) < 2;
}

// ---- The words of a hint.

namespace {

// Singular case forms of the piece names, as whole words.
const std::map<std::string, PieceType>& PieceForms()
{
    static const std::map<std::string, PieceType> forms = {
        {"пешка", Pawn}, {"пешки", Pawn}, {"пешке", Pawn}, {"пешку", Pawn}, {"пешкой", Pawn},
        {"конь", fullchess::Knight}, {"коня", fullchess::Knight}, {"коню", fullchess::Knight}, {"конем", fullchess::Knight},
        {"слон", fullchess::Bishop}, {"слона", fullchess::Bishop}, {"слону", fullchess::Bishop}, {"слоном", fullchess::Bishop},
        {"ладья", fullchess::Rook}, {"ладьи", fullchess::Rook}, {"ладье", fullchess::Rook}, {"ладью", fullchess::Rook},
        {"ладьей", fullchess::Rook},
        {"ферзь", fullchess::Queen}, {"ферзя", fullchess::Queen}, {"ферзю", fullchess::Queen}, {"ферзем", fullchess::Queen},
        {"король", King}, {"короля", King}, {"королю", King}, {"королем", King},
    };
    return forms;
}

std::string Lower(const std::string& word)
{
    static const std::pair<const char*, const char*> letters[] = {
        {"П", "п"}, {"К", "к"}, {"С", "с"}, {"Л", "л"}, {"Ф", "ф"}, {"М", "м"}, {"В", "в"}};
    for (const auto& [upper, lower] : letters)
        if (word.rfind(upper, 0) == 0)
            return lower + word.substr(std::strlen(upper));
    return word;
}

// Words of the text: runs of letters (UTF-8 bytes of Cyrillic count as letters),
// digits and Latin letters; everything else separates.
std::vector<std::string> WordsOf(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    for (unsigned char ch : text) {
        if (ch >= 0x80 || std::isalnum(ch)) {
            word += static_cast<char>(ch);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

bool IsSquare(const std::string& word)
{
    return word.size() == 2 && word[0] >= 'a' && word[0] <= 'h' && word[1] >= '1' && word[1] <= '8';
}

int UserPieces(const Position& root, PieceType kind, int& fewMoves)
{
    int count = 0;
    fewMoves = 0;
    for (int sq = 0; sq < 64; ++sq)
        if (Own(root.At(sq), root.WhiteToMove()) && KindOf(root.At(sq)) == kind) {
            ++count;
            fewMoves += LegalMovesOf(root, sq) < 3 ? 1 : 0;
        }
    return count;
}

// What the hint is judged against.
struct Judged {
    const std::string& hint;
    const std::vector<std::string> words;
    const Position& root;
    const std::vector<std::string>& moves;
    std::optional<Move> first;
    bool user;  // the side to move
    std::vector<std::string> problems;
};

// A piece named at words[i]: of which side, on which square, and whether the
// hint may name it.
void JudgePieceName(Judged& j, std::size_t i, PieceType kind)
{
    const auto& words = j.words;
    std::size_t next = i + 1;
    bool side = j.user;
    if (next < words.size() && (words[next] == "белых" || words[next] == "черных")) {
        side = words[next] == "белых";
        ++next;
    }
    if (next + 1 < words.size() && words[next] == "на" && IsSquare(words[next + 1])) {
        const int sq = fullchess::ParseSquare(words[next + 1]);
        const int8_t there = j.root.At(sq);
        if (there == 0 || KindOf(there) != kind || (there > 0) != side)
            j.problems.push_back("no " + words[i] + " on " + words[next + 1]);
        else if (side == j.user && LegalMovesOf(j.root, sq) < 3)
            j.problems.push_back("names the " + words[i] + " on " + words[next + 1] + ", which has fewer than three moves");
        return;
    }
    if (side != j.user)
        return;
    int few = 0;
    const int count = UserPieces(j.root, kind, few);
    if (kind == Pawn ? (count == 1 && few == 1) : few > 0)
        j.problems.push_back("names the side to move's " + words[i] + " with fewer than three moves");
}

// The squares and pieces the hint names.
void JudgeNames(Judged& j)
{
    for (std::size_t i = 0; i < j.words.size(); ++i) {
        const std::string& word = j.words[i];
        if (IsSquare(word) && j.first && fullchess::ParseSquare(word) == j.first->to)
            j.problems.push_back("names " + word + ", where the first move goes");
        const auto form = PieceForms().find(Lower(word));
        if (form == PieceForms().end() || (i > 0 && j.words[i - 1] == "в" && word == "ферзи"))
            continue;
        JudgePieceName(j, i, form->second);
    }
}

// A piece called lost must fall to the user in the line.
void JudgeDoomed(Judged& j)
{
    if (j.hint.find("обречен") == std::string::npos)
        return;
    int where = -1;
    for (std::size_t i = 0; i + 1 < j.words.size(); ++i)
        if (j.words[i] == "на" && IsSquare(j.words[i + 1]))
            where = fullchess::ParseSquare(j.words[i + 1]);
    bool falls = false;
    Position p = j.root;
    for (std::size_t i = 0; i < j.moves.size() && where >= 0 && !falls; ++i) {
        const auto m = p.ParseUci(j.moves[i]);
        if (!m)
            break;
        if (m->to == where && i % 2 == 0)
            falls = true;
        else if (m->from == where)
            break;  // it got away: whatever happens to it later, it was not doomed where it stood
        p.Play(*m);
    }
    if (!falls)
        j.problems.push_back("calls a piece lost that the line does not win");
}

// A piece called won must not be the one the first move takes: the hint
// would name the capture.
void JudgeWonPiece(Judged& j)
{
    static const char* const winning[] = {"ыиграйте", "ыигрывает", "ыиграете", "обречен", "аберите"};
    if (!j.first || std::none_of(std::begin(winning), std::end(winning), [&](const char* w) { return j.hint.find(w) != std::string::npos; }))
        return;
    for (std::size_t i = 0; i < j.words.size(); ++i) {
        const auto form = PieceForms().find(Lower(j.words[i]));
        const bool ours = i + 1 < j.words.size() && j.words[i + 1] == (j.user ? "белых" : "черных");
        if (form != PieceForms().end() && !ours && TakesTheKind(j.root, *j.first, form->second))
            j.problems.push_back("calls the " + j.words[i] + " won, which the first move takes");
    }
}

// "мат в N ходов" against the line.
void JudgeMateCount(Judged& j, const LineBoard& board)
{
    const bool speaksOfMate = j.hint.find("мат") != std::string::npos || j.hint.find("Мат") != std::string::npos;
    const int userMoves = (static_cast<int>(j.moves.size()) + 1) / 2;
    for (std::size_t i = 0; i + 2 < j.words.size() && speaksOfMate; ++i) {
        if (j.words[i] != "в" || (j.words[i + 2].rfind("ход", 0) != 0))
            continue;
        const int n = j.words[i + 1] == "один" ? 1 : std::atoi(j.words[i + 1].c_str());
        if (n <= 0)
            continue;
        if (!board.mate)
            j.problems.push_back("says mate in " + std::to_string(n) + ", the line does not end in mate");
        else if (n != userMoves)
            j.problems.push_back("says mate in " + std::to_string(n) + ", the line mates in " + std::to_string(userMoves));
    }
}

// "мат ладьей": the piece that mates.
void JudgeMatingPiece(Judged& j, const LineBoard& board)
{
    static const std::map<std::string, PieceType> instrumental = {
        {"пешкой", Pawn}, {"конем", fullchess::Knight}, {"слоном", fullchess::Bishop},
        {"ладьей", fullchess::Rook}, {"ферзем", fullchess::Queen}, {"королем", King}};
    for (std::size_t i = 0; i + 1 < j.words.size(); ++i) {
        if (Lower(j.words[i]) != "мат")
            continue;
        const auto form = instrumental.find(j.words[i + 1]);
        if (form == instrumental.end() || !board.mate || board.positions.empty())
            continue;
        const auto& last = board.positions.back();
        const auto& before = board.positions.size() >= 2 ? board.positions[board.positions.size() - 2] : j.root;
        const auto m = before.ParseUci(j.moves.back());
        if (m && KindOf(last.At(m->to)) != form->second)
            j.problems.push_back("says mate by the " + j.words[i + 1] + ", another piece mates");
    }
}

bool FarPassedPawn(const Position& end, bool user)
{
    for (int sq = 0; sq < 64; ++sq)
        if (Own(end.At(sq), user) && KindOf(end.At(sq)) == Pawn && PassedPawn(end, sq) && RelativeRank(sq, user) >= 4)
            return true;
    return false;
}

// Mate, stalemate, perpetual check and queening, against how the line ends.
void JudgeEnd(Judged& j, const LineBoard& board)
{
    const std::string& hint = j.hint;
    if (hint.find("Спертый мат") != std::string::npos && !board.mate)
        j.problems.push_back("says smothered mate, the line does not end in mate");
    if (hint == kHintMateWithSacrifice && !board.mate)
        j.problems.push_back("says mate with a sacrifice, the line does not end in mate");
    if (hint.find("пат") != std::string::npos && !(board.stalemate || board.stalemateForced))
        j.problems.push_back("speaks of stalemate, the line does not end in stalemate");
    if (hint.find("вечн") != std::string::npos && !(board.repeats && board.lastMoveChecks))
        j.problems.push_back("speaks of perpetual check, the line shows no repetition");
    if (hint == kHintQueenThePawn && !FarPassedPawn(board.end, j.user))
        j.problems.push_back("says queen the pawn, the line ends without a far-advanced passed pawn");
}

} // namespace

std::vector<std::string> HintProblems(const std::string& hint, const Position& root, const std::vector<std::string>& moves,
                                      std::string_view entry)
{
    Judged j{hint, WordsOf(hint), root, moves, moves.empty() ? std::nullopt : root.ParseUci(moves.front()), root.WhiteToMove(), {}};
    JudgeNames(j);
    JudgeDoomed(j);
    JudgeWonPiece(j);
    const LineBoard board = ReplayLine(root, moves, static_cast<int>(moves.size()));
    JudgeMateCount(j, board);
    JudgeMatingPiece(j, board);
    JudgeEnd(j, board);
    const HintEntry* named = entry.empty() ? nullptr : FindHintEntry(entry);
    if (named && named->givesAway && j.first && named->givesAway(root, *j.first))
        j.problems.push_back("gives the move away (" + std::string(named->name) + ")");
    return j.problems;
}
