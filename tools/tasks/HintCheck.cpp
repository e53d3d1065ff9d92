// The mechanical check of a hint against its test: what a hint says about
// squares, pieces and the mate can be read off the board without an engine.
#include "BoardFacts.h"
#include "Hints.h"

#include <cstring>
#include <map>

using fullchess::Move;
using fullchess::Position;
using namespace facts;

namespace {

// Singular case forms of the piece names, as whole words.
const std::map<std::string, char>& PieceForms()
{
    static const std::map<std::string, char> forms = {
        {"пешка", 'p'}, {"пешки", 'p'}, {"пешке", 'p'}, {"пешку", 'p'}, {"пешкой", 'p'},
        {"конь", 'n'}, {"коня", 'n'}, {"коню", 'n'}, {"конем", 'n'},
        {"слон", 'b'}, {"слона", 'b'}, {"слону", 'b'}, {"слоном", 'b'},
        {"ладья", 'r'}, {"ладьи", 'r'}, {"ладье", 'r'}, {"ладью", 'r'}, {"ладьей", 'r'},
        {"ферзь", 'q'}, {"ферзя", 'q'}, {"ферзю", 'q'}, {"ферзем", 'q'},
        {"король", 'k'}, {"короля", 'k'}, {"королю", 'k'}, {"королем", 'k'},
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

bool IsSquare(const std::string& w) { return w.size() == 2 && w[0] >= 'a' && w[0] <= 'h' && w[1] >= '1' && w[1] <= '8'; }

int UserPieces(const Position& root, char kind, int& fewMoves)
{
    int count = 0;
    fewMoves = 0;
    for (int sq = 0; sq < 64; ++sq)
        if (Own(root.At(sq), root.WhiteToMove()) && Kind(root.At(sq)) == kind) {
            ++count;
            fewMoves += LegalMovesOf(root, sq) < 3 ? 1 : 0;
        }
    return count;
}

} // namespace

std::vector<std::string> HintProblems(const std::string& hint, const Position& root, const std::vector<std::string>& moves)
{
    std::vector<std::string> problems;
    const bool user = root.WhiteToMove();
    const auto first = moves.empty() ? std::nullopt : root.ParseUci(moves.front());
    const auto words = WordsOf(hint);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (IsSquare(words[i]) && first && fullchess::ParseSquare(words[i]) == first->to)
            problems.push_back("names " + words[i] + ", where the first move goes");
        const auto form = PieceForms().find(Lower(words[i]));
        if (form == PieceForms().end())
            continue;
        if (i > 0 && words[i - 1] == "в" && words[i] == "ферзи")
            continue;
        const char kind = form->second;
        std::size_t next = i + 1;
        bool side = user;
        if (next < words.size() && (words[next] == "белых" || words[next] == "черных")) {
            side = words[next] == "белых";
            ++next;
        }
        if (next + 1 < words.size() && words[next] == "на" && IsSquare(words[next + 1])) {
            const int sq = fullchess::ParseSquare(words[next + 1]);
            const int8_t there = root.At(sq);
            if (there == 0 || Kind(there) != kind || (there > 0) != side)
                problems.push_back("no " + words[i] + " on " + words[next + 1]);
            else if (side == user && LegalMovesOf(root, sq) < 3)
                problems.push_back("names the " + words[i] + " on " + words[next + 1] + ", which has fewer than three moves");
            continue;
        }
        if (side != user)
            continue;
        int few = 0;
        const int count = UserPieces(root, kind, few);
        if (kind == 'p' ? (count == 1 && few == 1) : few > 0)
            problems.push_back("names the side to move's " + words[i] + " with fewer than three moves");
    }

    // A piece called lost must fall to the user in the line.
    if (hint.find("обречен") != std::string::npos) {
        int doomed = -1;
        for (std::size_t i = 0; i + 1 < words.size(); ++i)
            if (words[i] == "на" && IsSquare(words[i + 1]))
                doomed = fullchess::ParseSquare(words[i + 1]);
        bool falls = false;
        Position p = root;
        int where = doomed;
        for (std::size_t i = 0; i < moves.size() && where >= 0 && !falls; ++i) {
            const auto m = p.ParseUci(moves[i]);
            if (!m)
                break;
            if (m->to == where && i % 2 == 0)
                falls = true;
            else if (m->from == where)
                where = m->to;
            p.Play(*m);
        }
        if (!falls)
            problems.push_back("calls a piece lost that the line does not win");
    }

    // Mate claims.
    const int tokens = static_cast<int>(moves.size());
    const LineBoard board = ReplayLine(root, moves, tokens);
    const int userMoves = (tokens + 1) / 2;
    const bool speaksOfMate = hint.find("мат") != std::string::npos || hint.find("Мат") != std::string::npos;
    for (std::size_t i = 0; i + 2 < words.size() && speaksOfMate; ++i) {
        if (words[i] != "в" || (words[i + 2].rfind("ход", 0) != 0))
            continue;
        const int n = words[i + 1] == "один" ? 1 : std::atoi(words[i + 1].c_str());
        if (n <= 0)
            continue;
        if (!board.mate)
            problems.push_back("says mate in " + std::to_string(n) + ", the line does not end in mate");
        else if (n != userMoves)
            problems.push_back("says mate in " + std::to_string(n) + ", the line mates in " + std::to_string(userMoves));
    }
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (Lower(words[i]) != "мат")
            continue;
        static const std::map<std::string, char> instrumental = {
            {"пешкой", 'p'}, {"конем", 'n'}, {"слоном", 'b'}, {"ладьей", 'r'}, {"ферзем", 'q'}, {"королем", 'k'}};
        const auto form = instrumental.find(words[i + 1]);
        if (form == instrumental.end() || !board.mate || board.positions.empty())
            continue;
        const auto last = board.positions.back();
        const auto m = (board.positions.size() >= 2 ? board.positions[board.positions.size() - 2] : root).ParseUci(moves.back());
        if (m && Kind(last.At(m->to)) != form->second)
            problems.push_back("says mate by the " + words[i + 1] + ", another piece mates");
    }
    if (hint.find("Спертый мат") != std::string::npos && !board.mate)
        problems.push_back("says smothered mate, the line does not end in mate");
    if (hint == kHintMateWithSacrifice && !board.mate)
        problems.push_back("says mate with a sacrifice, the line does not end in mate");
    if (hint.find("пат") != std::string::npos && !(board.stalemate || board.stalemateForced))
        problems.push_back("speaks of stalemate, the line does not end in stalemate");
    if (hint.find("вечн") != std::string::npos && !(board.repeats && board.lastMoveChecks))
        problems.push_back("speaks of perpetual check, the line shows no repetition");
    if (hint == kHintQueenThePawn) {
        bool passed = false;
        for (int sq = 0; sq < 64; ++sq)
            passed = passed || (Own(board.end.At(sq), user) && std::abs(board.end.At(sq)) == 1 && PassedPawn(board.end, sq)
                                && RelativeRank(sq, user) >= 4);
        if (!passed)
            problems.push_back("says queen the pawn, the line ends without a far-advanced passed pawn");
    }
    return problems;
}
