#include "Hints.h"

#include <algorithm>
#include <cstdlib>
#include <map>

using fullchess::Move;
using fullchess::Position;

namespace {

// Russian names of the pieces by case; the kind letters are those of FEN.
struct PieceWords {
    const char* nom;
    const char* gen;
    const char* dat;
    const char* acc;
    const char* ins;
};

const PieceWords& Words(char kind)
{
    static const std::map<char, PieceWords> words = {
        {'p', {"пешка", "пешки", "пешке", "пешку", "пешкой"}},
        {'n', {"конь", "коня", "коню", "коня", "конем"}},
        {'b', {"слон", "слона", "слону", "слона", "слоном"}},
        {'r', {"ладья", "ладьи", "ладье", "ладью", "ладьей"}},
        {'q', {"ферзь", "ферзя", "ферзю", "ферзя", "ферзем"}},
        {'k', {"король", "короля", "королю", "короля", "королем"}},
    };
    auto it = words.find(kind);
    return it == words.end() ? words.at('p') : it->second;
}

char KindLetter(int8_t piece)
{
    static const char letters[] = " pnbrqk";
    return letters[std::abs(piece)];
}

int Value(int8_t piece)
{
    static const int values[] = {0, 1, 3, 3, 5, 9, 100};
    return values[std::abs(piece)];
}

bool Own(int8_t piece, bool white) { return piece != 0 && (piece > 0) == white; }

// Squares a piece on `from` attacks on this board (pawns: their captures).
std::vector<int> AttacksFrom(const Position& p, int from)
{
    std::vector<int> out;
    const int8_t piece = p.At(from);
    const int type = std::abs(piece);
    const int f = fullchess::FileOf(from), r = fullchess::RankOf(from);
    auto inside = [](int ff, int rr) { return ff >= 0 && ff < 8 && rr >= 0 && rr < 8; };
    auto ray = [&](int df, int dr, bool slide) {
        for (int ff = f + df, rr = r + dr; inside(ff, rr); ff += df, rr += dr) {
            out.push_back(fullchess::MakeSquare(ff, rr));
            if (!slide || p.At(fullchess::MakeSquare(ff, rr)) != 0)
                break;
        }
    };
    switch (type) {
    case 1: {
        const int dr = piece > 0 ? 1 : -1;
        for (int df : {-1, 1})
            if (inside(f + df, r + dr))
                out.push_back(fullchess::MakeSquare(f + df, r + dr));
        break;
    }
    case 2:
        for (auto [df, dr] : {std::pair{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}})
            ray(df, dr, false);
        break;
    case 3: case 4: case 5:
        if (type != 4)
            for (auto [df, dr] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}})
                ray(df, dr, true);
        if (type != 3)
            for (auto [df, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                ray(df, dr, true);
        break;
    case 6:
        for (auto [df, dr] : {std::pair{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}})
            ray(df, dr, false);
        break;
    default: break;
    }
    return out;
}

int Mobility(const Position& p, int from)
{
    int n = 0;
    const bool white = p.At(from) > 0;
    for (int to : AttacksFrom(p, from))
        if (!Own(p.At(to), white))
            ++n;
    return n;
}

int NonPawnMaterial(const Position& p, bool white)
{
    const auto c = p.Count(white);
    return 3 * c[2] + 3 * c[3] + 5 * c[4] + 9 * c[5];
}

bool PassedPawn(const Position& p, int sq)
{
    const bool white = p.At(sq) > 0;
    const int f = fullchess::FileOf(sq), r = fullchess::RankOf(sq);
    for (int ff = std::max(0, f - 1); ff <= std::min(7, f + 1); ++ff)
        for (int rr = white ? r + 1 : r - 1; rr >= 0 && rr < 8; rr += white ? 1 : -1)
            if (p.At(fullchess::MakeSquare(ff, rr)) == (white ? -1 : 1))
                return false;
    return true;
}

// The piece names start with one of these letters; the hints need them capitalised.
std::string Capitalised(const std::string& word)
{
    static const std::pair<const char*, const char*> letters[] = {
        {"п", "П"}, {"к", "К"}, {"с", "С"}, {"л", "Л"}, {"ф", "Ф"}};
    for (const auto& [lower, upper] : letters)
        if (word.rfind(lower, 0) == 0)
            return upper + word.substr(std::char_traits<char>::length(lower));
    return word;
}

uint64_t Fnv(const std::string& text)
{
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char ch : text) {
        hash ^= ch;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Puts `square` where the text says %s (once).
std::string Format(const char* text, const std::string& square)
{
    std::string out = text;
    const auto at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, square);
    return out;
}

std::string SideGen(bool white) { return white ? "белых" : "черных"; }

std::string Plural(int n, const char* one, const char* few, const char* many)
{
    const int mod100 = n % 100, mod10 = n % 10;
    if (mod100 >= 11 && mod100 <= 14)
        return many;
    if (mod10 == 1)
        return one;
    if (mod10 >= 2 && mod10 <= 4)
        return few;
    return many;
}

std::string Wing(int sq)
{
    const int f = fullchess::FileOf(sq);
    return f <= 2 ? "ферзевом фланге" : f >= 5 ? "королевском фланге" : "центре";
}

} // namespace

LineFeatures AnalyseLine(const Candidate& c, int tokens)
{
    LineFeatures features;
    auto root = Position::FromFen(c.fen);
    if (!root || tokens < 1 || static_cast<std::size_t>(tokens) > c.line.moves.size())
        return features;
    const bool userWhite = root->WhiteToMove();
    std::vector<std::string> all(c.line.moves.begin(), c.line.moves.begin() + tokens);
    // After a cut line, its own later moves are the best continuation.
    std::vector<std::string> rest(c.line.moves.begin() + tokens, c.line.moves.end());
    rest.insert(rest.end(), c.line.continuation.begin(), c.line.continuation.end());
    if (rest.size() > 12)
        rest.resize(12);
    all.insert(all.end(), rest.begin(), rest.end());

    features.opening = c.ply < 30;
    features.endgame = NonPawnMaterial(*root, true) <= 13 && NonPawnMaterial(*root, false) <= 13;

    Position p = *root;
    std::vector<Position> positions{p};
    std::vector<Move> moves;
    for (const std::string& text : all) {
        auto m = p.ParseUci(text);
        if (!m)
            break;
        moves.push_back(*m);
        p.Play(*m);
        positions.push_back(p);
    }
    const int inLine = std::min<int>(tokens, static_cast<int>(moves.size()));
    bool allChecks = true;
    int userMoves = 0, userChecks = 0;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Position& before = positions[i];
        const Position& after = positions[i + 1];
        const Move& m = moves[i];
        const bool user = before.WhiteToMove() == userWhite;
        const int8_t mover = before.At(m.from);
        if (user) {
            ++userMoves;
            const bool check = after.InCheck();
            userChecks += check ? 1 : 0;
            allChecks = allChecks && check;
            if (m.promotion && static_cast<int>(i) < inLine + 7) {
                features.promotes = true;
                features.passedPawnSquare = fullchess::SquareName(m.to);
            }
        }
        if (after.LegalMoves().empty()) {
            if (after.InCheck() && user) {
                if (!features.mates) {
                    features.mates = true;
                    features.mateMoves = userMoves;
                    features.matingPiece = std::string(1, KindLetter(after.At(m.to)));
                    // Where the mated king stands and what surrounds it.
                    const bool mated = !userWhite;
                    int king = -1;
                    for (int sq = 0; sq < 64; ++sq)
                        if (after.At(sq) == (mated ? 6 : -6))
                            king = sq;
                    if (king >= 0) {
                        const int backRank = mated ? 0 : 7;
                        const int8_t checker = after.At(m.to);
                        if (fullchess::RankOf(king) == backRank && (std::abs(checker) == 4 || std::abs(checker) == 5)
                            && fullchess::RankOf(m.to) == backRank)
                            features.backRank = true;
                        if (std::abs(checker) == 2) {
                            bool hemmed = true;
                            for (int to : AttacksFrom(after, king))
                                if (!Own(after.At(to), mated))
                                    hemmed = false;
                            features.smothered = hemmed;
                        }
                    }
                }
            } else if (!after.InCheck()) {
                features.stalemate = true;
            }
            break;
        }
        if (!user || static_cast<int>(i) >= inLine)
            continue;
        // Sacrifice: the piece just moved is taken at once, and it was worth
        // more than what it took.
        if (i + 1 < moves.size() && moves[i + 1].to == m.to && moves[i + 1].capture) {
            const int taken = Value(before.At(m.to));
            if (Value(mover) > taken + 1 && std::abs(mover) != 6 && !features.sacrifice) {
                features.sacrifice = true;
                features.sacrificedPiece = std::string(1, KindLetter(mover));
            }
        }
        // Double check and discovered attacks.
        int checkers = 0;
        int king = -1;
        for (int sq = 0; sq < 64; ++sq)
            if (after.At(sq) == (userWhite ? -6 : 6))
                king = sq;
        for (int sq = 0; sq < 64; ++sq) {
            if (!Own(after.At(sq), userWhite))
                continue;
            const auto targets = AttacksFrom(after, sq);
            if (std::find(targets.begin(), targets.end(), king) != targets.end())
                ++checkers;
            if (sq == m.to || std::abs(after.At(sq)) < 3 || std::abs(after.At(sq)) > 5)
                continue;
            const auto was = AttacksFrom(before, sq);
            for (int t : targets)
                if (!Own(after.At(t), userWhite) && Value(after.At(t)) >= 5
                    && std::find(was.begin(), was.end(), t) == was.end())
                    features.discovered = true;
        }
        if (checkers >= 2)
            features.doubleCheck = true;
        // Fork: the moved piece hits two things worth more than itself (or
        // undefended), one of them the king or a piece of value.
        std::vector<int8_t> hit;
        for (int t : AttacksFrom(after, m.to)) {
            const int8_t target = after.At(t);
            if (target == 0 || Own(target, userWhite))
                continue;
            if (Value(target) > Value(mover) || (std::abs(target) != 1 && !after.Attacked(t, !userWhite)))
                hit.push_back(target);
        }
        if (hit.size() >= 2 && !features.fork) {
            std::sort(hit.begin(), hit.end(), [](int8_t a, int8_t b) { return Value(a) > Value(b); });
            if (Value(hit[0]) >= 5) {
                features.fork = true;
                features.forkPiece = std::string(1, KindLetter(mover));
                features.forkTargets[0] = std::string(1, KindLetter(hit[0]));
                features.forkTargets[1] = std::string(1, KindLetter(hit[1]));
            }
        }
        // Pin: a line piece hits an enemy piece with a bigger one behind it.
        const int type = std::abs(mover);
        if ((type == 3 || type == 4 || type == 5) && !features.pin) {
            const int f = fullchess::FileOf(m.to), r = fullchess::RankOf(m.to);
            for (auto [df, dr] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const bool diagonal = df != 0 && dr != 0;
                if ((diagonal && type == 4) || (!diagonal && type == 3))
                    continue;
                int first = -1;
                for (int ff = f + df, rr = r + dr; ff >= 0 && ff < 8 && rr >= 0 && rr < 8; ff += df, rr += dr) {
                    const int sq = fullchess::MakeSquare(ff, rr);
                    if (after.At(sq) == 0)
                        continue;
                    if (Own(after.At(sq), userWhite))
                        break;
                    if (first < 0) {
                        first = sq;
                        continue;
                    }
                    if (Value(after.At(sq)) > Value(after.At(first)) && std::abs(after.At(first)) != 6
                        && Value(after.At(sq)) >= 5) {
                        features.pin = true;
                        features.pinnedPiece = std::string(1, KindLetter(after.At(first)));
                        features.pinnedSquare = fullchess::SquareName(first);
                    }
                    break;
                }
            }
        }
    }
    features.perpetual = userMoves >= 3 && allChecks && userChecks == userMoves;

    // Net material won by the end.
    const auto startUser = root->Count(userWhite), startOpp = root->Count(!userWhite);
    const auto endUser = p.Count(userWhite), endOpp = p.Count(!userWhite);
    for (int type : {5, 4, 3, 2, 1}) {
        const int oppLost = startOpp[static_cast<std::size_t>(type)] - endOpp[static_cast<std::size_t>(type)];
        const int userLost = startUser[static_cast<std::size_t>(type)] - endUser[static_cast<std::size_t>(type)];
        if (oppLost > userLost && oppLost > 0) {
            features.wonPiece = std::string(1, " pnbrqk"[type]);
            for (std::size_t i = 0; i < moves.size(); ++i)
                if (positions[i].WhiteToMove() == userWhite && moves[i].capture
                    && std::abs(positions[i].At(moves[i].to)) == type) {
                    features.wonSquare = fullchess::SquareName(moves[i].to);
                    break;
                }
            break;
        }
    }

    // The first user move, for the quiet devices.
    if (!moves.empty()) {
        const Position& before = positions[0];
        const Position& after = positions[1];
        const Move& m = moves[0];
        const int8_t mover = before.At(m.from);
        const int type = std::abs(mover);
        features.movedPiece = std::string(1, KindLetter(mover));
        features.fromSquare = fullchess::SquareName(m.from);
        features.toSquare = fullchess::SquareName(m.to);
        features.firstMoveCheck = after.InCheck();
        features.firstMoveCapture = m.capture;
        const int toFile = fullchess::FileOf(m.to), toRank = fullchess::RankOf(m.to);
        const int relRank = userWhite ? toRank : 7 - toRank;
        if (type == 1 && !m.capture) {
            bool contact = false;
            for (int t : AttacksFrom(after, m.to))
                if (after.At(t) == (userWhite ? -1 : 1))
                    contact = true;
            // Or an enemy pawn now attacks it.
            for (int df : {-1, 1}) {
                const int ff = toFile + df, rr = toRank + (userWhite ? 1 : -1);
                if (ff >= 0 && ff < 8 && rr >= 0 && rr < 8 && after.At(fullchess::MakeSquare(ff, rr)) == (userWhite ? -1 : 1))
                    contact = true;
            }
            features.pawnBreak = contact;
            features.passedPawnPush = PassedPawn(after, m.to);
            features.spaceGain = !contact && !features.passedPawnPush && relRank >= 3;
        }
        if (type == 4 || type == 5) {
            if (fullchess::FileOf(m.from) != toFile) {
                bool ownPawn = false;
                for (int rr = 0; rr < 8; ++rr)
                    if (after.At(fullchess::MakeSquare(toFile, rr)) == (userWhite ? 1 : -1))
                        ownPawn = true;
                features.openFile = !ownPawn;
            }
            if (type == 4 && relRank == 6)
                features.seventhRank = true;
            // Battery: another heavy piece of ours on the same file, nothing between.
            for (int dr : {1, -1})
                for (int rr = toRank + dr; rr >= 0 && rr < 8; rr += dr) {
                    const int8_t piece = after.At(fullchess::MakeSquare(toFile, rr));
                    if (piece == 0)
                        continue;
                    if (Own(piece, userWhite) && (std::abs(piece) == 4 || std::abs(piece) == 5))
                        features.battery = true;
                    break;
                }
        }
        if (type == 2 && relRank >= 3 && relRank <= 5) {
            bool guarded = false;
            for (int df : {-1, 1}) {
                const int ff = toFile + df, rr = toRank + (userWhite ? -1 : 1);
                if (ff >= 0 && ff < 8 && rr >= 0 && rr < 8 && after.At(fullchess::MakeSquare(ff, rr)) == (userWhite ? 1 : -1))
                    guarded = true;
            }
            bool chased = false;
            for (int df : {-1, 1}) {
                const int ff = toFile + df;
                if (ff < 0 || ff > 7)
                    continue;
                for (int rr = toRank + (userWhite ? 1 : -1); rr >= 0 && rr < 8; rr += userWhite ? 1 : -1)
                    if (after.At(fullchess::MakeSquare(ff, rr)) == (userWhite ? -1 : 1))
                        chased = true;
            }
            features.outpost = guarded && !chased;
        }
        if (type == 6 && features.endgame) {
            auto centre = [](int sq) {
                return std::abs(2 * fullchess::FileOf(sq) - 7) + std::abs(2 * fullchess::RankOf(sq) - 7);
            };
            features.kingActivity = centre(m.to) < centre(m.from);
        }
        if ((type == 3 || type == 5) && (fullchess::FileOf(m.to) == fullchess::RankOf(m.to) || fullchess::FileOf(m.to) + fullchess::RankOf(m.to) == 7)
            && !(fullchess::FileOf(m.from) == fullchess::RankOf(m.from) || fullchess::FileOf(m.from) + fullchess::RankOf(m.from) == 7))
            features.longDiagonal = true;
        if ((type == 2 || type == 3) && toFile >= 2 && toFile <= 5 && toRank >= 2 && toRank <= 5
            && !(fullchess::FileOf(m.from) >= 2 && fullchess::FileOf(m.from) <= 5 && fullchess::RankOf(m.from) >= 2 && fullchess::RankOf(m.from) <= 5))
            features.centralises = true;
        if (m.capture && type != 1 && type != 6 && Value(before.At(m.to)) == Value(mover))
            features.exchange = true;
        // Restriction: an enemy piece loses most of its moves.
        for (int sq = 0; sq < 64; ++sq) {
            const int8_t piece = after.At(sq);
            if (piece == 0 || Own(piece, userWhite) || std::abs(piece) < 2 || std::abs(piece) > 5)
                continue;
            if (before.At(sq) != piece)
                continue;
            const int was = Mobility(before, sq), now = Mobility(after, sq);
            if (was >= 3 && now <= 1) {
                features.restricts = true;
                features.restrictedPiece = std::string(1, KindLetter(piece));
            }
        }
        auto kingOf = [&](bool white) {
            for (int sq = 0; sq < 64; ++sq)
                if (after.At(sq) == (white ? 6 : -6))
                    return sq;
            return -1;
        };
        auto distance = [](int a, int b) {
            return std::max(std::abs(fullchess::FileOf(a) - fullchess::FileOf(b)), std::abs(fullchess::RankOf(a) - fullchess::RankOf(b)));
        };
        const int enemyKing = kingOf(!userWhite), ownKing = kingOf(userWhite);
        if (type >= 2 && type <= 5 && enemyKing >= 0 && distance(m.to, enemyKing) <= 2
            && distance(m.to, enemyKing) < distance(m.from, enemyKing))
            features.kingAttack = true;
        if (type >= 2 && type <= 4 && ownKing >= 0 && distance(m.to, ownKing) == 1 && distance(m.from, ownKing) > 1
            && !features.endgame)
            features.guardsKing = true;
        if (type == 1 && !m.capture && enemyKing >= 0 && std::abs(toFile - fullchess::FileOf(enemyKing)) <= 1
            && relRank >= 3 && !features.endgame)
            features.pawnStorm = true;
        if (type >= 2 && type <= 5)
            for (int t : AttacksFrom(after, m.to)) {
                if (after.At(t) != (userWhite ? -1 : 1))
                    continue;
                bool neighbour = false;
                for (int df : {-1, 1})
                    for (int rr = 0; rr < 8; ++rr) {
                        const int ff = fullchess::FileOf(t) + df;
                        if (ff >= 0 && ff < 8 && after.At(fullchess::MakeSquare(ff, rr)) == (userWhite ? -1 : 1))
                            neighbour = true;
                    }
                if (!neighbour || !after.Attacked(t, !userWhite)) {
                    features.weakPawn = true;
                    features.weakPawnSquare = fullchess::SquareName(t);
                    break;
                }
            }
        // The worst piece: fewest moves among our pieces before the move.
        if (type >= 2 && type <= 5) {
            const int mine = Mobility(before, m.from);
            bool worst = true;
            for (int sq = 0; sq < 64; ++sq) {
                const int8_t piece = before.At(sq);
                if (sq != m.from && Own(piece, userWhite) && std::abs(piece) >= 2 && std::abs(piece) <= 5
                    && Mobility(before, sq) < mine)
                    worst = false;
            }
            features.improvesWorst = worst && Mobility(after, m.to) > mine + 2;
        }
    }
    return features;
}

std::vector<std::string> HintVariants(const Candidate& c, int tokens, bool drawTest)
{
    const LineFeatures f = AnalyseLine(c, tokens);
    const bool userWhite = c.fen.find(" w ") != std::string::npos;
    const std::string user = SideGen(userWhite), opponent = SideGen(!userWhite);
    std::vector<std::string> v;
    auto piece = [](const std::string& kind) { return Words(kind.empty() ? 'p' : kind[0]); };

    if (drawTest) {
        if (f.stalemate) {
            v.push_back(kHintStalemate);
            v.push_back("Спасение в пате.");
            v.push_back("Спасите партию: доведите дело до пата.");
            v.push_back("Король " + user + " почти лишен ходов. Этим можно воспользоваться для пата.");
        } else if (f.perpetual) {
            v.push_back("Спасите партию вечным шахом.");
            v.push_back("Ничью дает вечный шах.");
            v.push_back("Вечный шах " + std::string(piece(f.movedPiece).ins) + " спасает " + user + ".");
        } else {
            v.push_back("Найдите единственный ход, который сохраняет равновесие.");
            v.push_back("Только точная защита спасает партию.");
            v.push_back("Все ходы, кроме одного, проигрывают. Найдите ничью за " + user + ".");
        }
        return v;
    }

    if (c.kind == TaskKind::Strategy) {
        const auto& moved = piece(f.movedPiece);
        auto add = [&](std::initializer_list<std::string> texts) { v.insert(v.end(), texts); };
        if (f.pawnBreak)
            add({"Ищите подрыв.", "Пешечный подрыв вскрывает игру.",
                 "Подрыв пешечной цепи соперника открывает линии для ваших фигур.",
                 "Подрыв на " + Wing(c.line.moves.empty() ? 0 : fullchess::ParseSquare(f.toSquare))
                     + " — самый энергичный план. Вскрытие линий выгодно стороне, у которой лучше развиты фигуры."});
        if (f.passedPawnPush)
            add({"Проходные пешки должны двигаться вперед.",
                 "Продвигайте проходную пешку. Соперник будет вынужден держать фигуры на ее пути.",
                 "Проходная пешка «" + f.toSquare.substr(0, 1)
                     + "» — главный козырь. Чем дальше она продвинется, тем больше сил соперника уйдет на ее блокаду."});
        if (f.openFile)
            add({"Захватите открытую линию.", "Тяжелые фигуры сильны на открытых линиях.",
                 "Открытая линия «" + f.toSquare.substr(0, 1) + "» — ключ к позиции. Займите ее " + moved.ins + "."});
        if (f.seventhRank)
            add({"Ладья на седьмой горизонтали сковывает соперника.",
                 "Вторгнитесь ладьей на седьмую горизонталь: там она нападает на пешки и стесняет короля."});
        if (f.outpost)
            add({"Найдите форпост для коня.", "Конь на форпосте сильнее слона.",
                 "Поле " + f.toSquare + " недоступно пешкам соперника. Это идеальный форпост для коня."});
        if (f.battery)
            add({"Сдвойте тяжелые фигуры.", "Батарея тяжелых фигур усиливает давление по вертикали.",
                 "Сдвоение тяжелых фигур по линии «" + f.toSquare.substr(0, 1) + "» усиливает давление на позицию соперника."});
        if (f.kingActivity)
            add({"В эндшпиле король — сильная фигура.", "Активизируйте короля.",
                 "В эндшпиле король должен идти в центр. Чем он активнее, тем легче поддержать пешки и напасть на слабости."});
        if (f.restricts)
            add({"Ограничьте подвижность фигур соперника.",
                 "Лишите " + std::string(piece(f.restrictedPiece).acc) + " соперника полезных ходов.",
                 std::string("Плохо стоящая фигура соперника должна оставаться плохой. Отнимите у ") + piece(f.restrictedPiece).gen
                     + " последние поля."});
        if (f.spaceGain)
            add({"Захват пространства в большинстве случаев хорош.", "Захватите пространство.",
                 "Продвижение пешки на " + Wing(fullchess::ParseSquare(f.toSquare))
                     + " отнимает у фигур соперника важные поля. Захват пространства стесняет его игру."});
        if (f.longDiagonal)
            add({"Слон на длинной диагонали давит на позицию соперника.",
                 "Займите длинную диагональ: оттуда фигура бьет через всю доску."});
        if (f.centralises)
            add({"Централизуйте фигуры.", "Фигуры в центре контролируют больше полей.",
                 "Поставьте " + std::string(moved.acc) + " в центр: оттуда он действует на оба фланга."});
        if (f.improvesWorst)
            add({"Улучшите положение худшей фигуры.",
                 "Найдите " + std::string(moved.dat) + " лучшее поле: сейчас это самая пассивная ваша фигура."});
        if (f.exchange)
            add({"Размен меняет оценку позиции.", "Своевременный размен — тоже стратегия.",
                 "Разменяйте активную фигуру соперника. После размена его слабости станут заметнее."});
        if (f.weakPawn)
            add({"Атакуйте слабую пешку.", "Слабые пешки — мишень для фигур.",
                 "Пешка " + f.weakPawnSquare + " слаба: ее трудно защитить. Направьте на нее свои фигуры."});
        if (f.kingAttack)
            add({"Подключите фигуры к атаке на короля.",
                 "Фигура рядом с королем соперника стоит больше, чем на другом фланге. Усильте давление на короля "
                     + opponent + "."});
        if (f.pawnStorm)
            add({"Пешечный штурм открывает линии против короля.",
                 "Двиньте пешки на фланге, где стоит король " + opponent
                     + ". Штурм вскроет линии для ладей и ферзя."});
        if (f.guardsKing)
            add({"Укрепите позицию своего короля.",
                 "Сначала безопасность короля. Фигура рядом с ним снимет угрозы соперника."});
        if (f.endgame && !f.kingActivity)
            add({"В эндшпиле важна каждая пешка и каждое поле.",
                 "Эндшпиль требует точности: найдите план, а не просто хороший ход."});
        if (f.opening)
            add({"Закончите развитие с пользой.",
                 "В дебюте каждый темп на счету. Найдите ход, который усиливает позицию и не теряет времени."});
        // Always true of these lines: the move is clearly the best one.
        add({"Найдите позиционно сильнейший ход.",
             "Все ходы, кроме одного, ухудшают позицию. Найдите этот ход."});
        const std::string sq = f.fromSquare;
        const unsigned variant = static_cast<unsigned>(Fnv(c.fen) % 3);
        if (f.movedPiece == "k") {
            const char* texts[] = {"Король на %s может сыграть важную роль. Найдите ему лучшее поле.",
                                   "Начните с короля на %s: ему есть куда стремиться.",
                                   "Король на %s стоит не лучшим образом. Найдите ему поле поактивнее."};
            v.push_back(Format(texts[variant], sq));
        } else if (f.movedPiece == "p") {
            const char* texts[] = {"Пешка %s готова к продвижению. Подумайте, что оно дает.",
                                   "Обратите внимание на пешку %s: ее ход меняет характер позиции.",
                                   "Пешка %s — ключ к плану. Решите, куда ей идти."};
            v.push_back(Format(texts[variant], sq));
        } else {
            const std::string gen = moved.gen;
            const std::string texts[] = {"Подумайте, как улучшить позицию " + gen + " на %s.",
                                         "Найдите лучшее место для " + gen + " на %s.",
                                         "Начните с " + gen + " на %s: сейчас он стоит не лучшим образом."};
            std::string text = Format(texts[variant].c_str(), sq);
            if (f.movedPiece == "r") {
                const auto at = text.find("он стоит");
                if (at != std::string::npos)
                    text.replace(at, std::string("он").size(), "она");
            }
            v.push_back(text);
        }
        return v;
    }

    // Tactics.
    if (f.mates) {
        const auto& mater = piece(f.matingPiece);
        const std::string n = std::to_string(f.mateMoves);
        const std::string moves = Plural(f.mateMoves, "ход", "хода", "ходов");
        if (f.sacrifice)
            v.insert(v.end(), {kHintMateWithSacrifice,
                               "Жертва " + std::string(piece(f.sacrificedPiece).gen) + " открывает путь к мату.",
                               "Пожертвуйте " + std::string(piece(f.sacrificedPiece).acc) + " и поставьте мат королю "
                                   + opponent + "."});
        if (f.smothered)
            v.insert(v.end(), {"Поставьте спертый мат.", "Спертый мат: король " + opponent + " заперт своими фигурами."});
        if (f.backRank)
            v.insert(v.end(), {"Используйте слабость последней горизонтали.",
                               "Мат " + std::string(mater.ins) + " по последней горизонтали."});
        if (f.doubleCheck)
            v.insert(v.end(), {"Двойной шах ведет к мату."});
        v.insert(v.end(), {"Король " + opponent + " в матовой сети.", "Найдите мат в " + n + " " + moves + ".",
                           "Мат " + std::string(mater.ins) + " в " + n + " " + moves + "."});
        return v;
    }
    if (f.promotes)
        v.insert(v.end(), {kHintQueenThePawn, "Проходная пешка решает исход борьбы.",
                           "Пешка «" + f.passedPawnSquare.substr(0, 1) + "» рвется в ферзи."});
    const std::string won = f.wonPiece.empty() ? "" : std::string(piece(f.wonPiece).acc);
    if (f.fork) {
        const auto& forker = piece(f.forkPiece);
        v.insert(v.end(), {"Найдите вилку.", "Ищите двойной удар.", "Двойной удар " + std::string(forker.ins) + ".",
                           "Двойной удар " + std::string(forker.ins) + " по " + piece(f.forkTargets[0]).dat + " и "
                               + piece(f.forkTargets[1]).dat + "."});
    }
    if (f.pin)
        v.insert(v.end(), {"Используйте связку.", "Попробуйте выиграть на связке.",
                           "Связка " + std::string(piece(f.pinnedPiece).gen) + " на " + f.pinnedSquare + " решает."});
    if (f.doubleCheck)
        v.insert(v.end(), {"Двойной шах!", "Двойной шах решает исход борьбы."});
    if (f.discovered)
        v.insert(v.end(), {"Вскрытое нападение.", "Вскрытое нападение выигрывает материал."});
    if (f.sacrifice)
        v.insert(v.end(), {"Жертва " + std::string(piece(f.sacrificedPiece).gen) + " дает решающее преимущество.",
                           "Не бойтесь отдать " + std::string(piece(f.sacrificedPiece).acc) + ": атака окупит жертву."});
    if (!won.empty() && f.wonPiece != "p")
        v.insert(v.end(), {"Выиграйте " + won + ".", "Комбинация выигрывает " + won + " " + opponent + "."});
    if (f.firstMoveCheck)
        v.insert(v.end(), {"Начните с шаха.", "Шах с темпом открывает решающую атаку."});
    v.insert(v.end(), {"Найдите сильнейшее продолжение.",
                       "Только один ход сохраняет решающее преимущество " + user + ". Найдите его."});
    if (!won.empty() && !f.wonSquare.empty()) {
        const char kind = f.wonPiece[0];
        const bool feminine = kind == 'r' || kind == 'p';
        v.push_back(Capitalised(piece(f.wonPiece).nom) + " " + opponent + " на " + f.wonSquare
                    + (feminine ? " обречена." : " обречен."));
    }
    // The most particular hint names the piece that starts the line; its
    // wording varies with the position so that equal pieces on equal squares
    // in different tests still read differently.
    const auto& first = piece(f.movedPiece);
    const std::string sq = f.fromSquare;
    const bool feminine = f.movedPiece == "r" || f.movedPiece == "p";
    switch (Fnv(c.fen) % 4) {
    case 0:
        v.push_back(f.movedPiece == "k" ? "Активный король на " + sq + " решает исход борьбы."
                                        : "Главная роль в комбинации — у " + std::string(first.gen) + " на " + sq + ".");
        break;
    case 1:
        v.push_back("Ключевая фигура — " + std::string(first.nom) + " на " + sq + ".");
        break;
    case 2:
        v.push_back("Все решает " + std::string(first.nom) + " на " + sq + ".");
        break;
    default:
        v.push_back("Присмотритесь к " + std::string(first.dat) + " на " + sq + (feminine ? ": она" : ": он")
                    + " решит исход борьбы.");
        break;
    }
    return v;
}
