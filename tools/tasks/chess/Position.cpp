#include "Position.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace fullchess {
namespace {

constexpr int kKnightSteps[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
constexpr int kKingSteps[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
constexpr int kDiagonals[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
constexpr int kLines[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

constexpr const char* kLetters = " PNBRQK";

int SideSign(bool white) { return white ? 1 : -1; }

bool Inside(int file, int rank) { return file >= 0 && file < 8 && rank >= 0 && rank < 8; }

int8_t PieceFromFen(char c)
{
    const bool white = std::isupper(static_cast<unsigned char>(c)) != 0;
    int8_t type = 0;
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'p': type = Pawn; break;
    case 'n': type = Knight; break;
    case 'b': type = Bishop; break;
    case 'r': type = Rook; break;
    case 'q': type = Queen; break;
    case 'k': type = King; break;
    default: return 0;
    }
    return static_cast<int8_t>(white ? type : -type);
}

char FenLetter(int8_t piece)
{
    const char c = kLetters[std::abs(piece)];
    return piece > 0 ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

std::string SquareName(int sq)
{
    return {static_cast<char>('a' + FileOf(sq)), static_cast<char>('1' + RankOf(sq))};
}

int ParseSquare(std::string_view text)
{
    if (text.size() < 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
        return -1;
    return MakeSquare(text[0] - 'a', text[1] - '1');
}

Position::Position()
{
    *this = *FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
}

std::optional<Position> Position::FromFen(std::string_view fen)
{
    Position p{EmptyTag{}};
    std::istringstream in{std::string(fen)};
    std::string placement, side = "w", castling = "-", ep = "-";
    int half = 0, full = 1;
    if (!(in >> placement))
        return std::nullopt;
    in >> side >> castling >> ep >> half >> full;
    int rank = 7, file = 0;
    for (char c : placement) {
        if (c == '/') {
            if (file != 8)
                return std::nullopt;
            --rank;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
        } else {
            const int8_t piece = PieceFromFen(c);
            if (piece == 0 || file > 7 || rank < 0)
                return std::nullopt;
            p.m_board[static_cast<std::size_t>(MakeSquare(file, rank))] = piece;
            ++file;
        }
        if (file > 8)
            return std::nullopt;
    }
    if (rank != 0 || file != 8)
        return std::nullopt;
    if (side != "w" && side != "b")
        return std::nullopt;
    p.m_white = side == "w";
    p.m_castling = 0;
    for (char c : castling) {
        switch (c) {
        case 'K': p.m_castling |= 1; break;
        case 'Q': p.m_castling |= 2; break;
        case 'k': p.m_castling |= 4; break;
        case 'q': p.m_castling |= 8; break;
        case '-': break;
        default: return std::nullopt;
        }
    }
    p.m_ep = ep == "-" ? -1 : ParseSquare(ep);
    if (ep != "-" && p.m_ep < 0)
        return std::nullopt;
    p.m_halfmove = half;
    p.m_fullmove = full;
    // Castling rights only where king and rook still stand at home.
    if (p.At(4) != King) p.m_castling &= ~3;
    if (p.At(7) != Rook) p.m_castling &= ~1;
    if (p.At(0) != Rook) p.m_castling &= ~2;
    if (p.At(60) != -King) p.m_castling &= ~12;
    if (p.At(63) != -Rook) p.m_castling &= ~4;
    if (p.At(56) != -Rook) p.m_castling &= ~8;
    return p;
}

std::string Position::Placement() const
{
    std::string out;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            const int8_t piece = At(MakeSquare(file, rank));
            if (piece == 0) {
                ++empty;
                continue;
            }
            if (empty > 0)
                out += static_cast<char>('0' + empty);
            empty = 0;
            out += FenLetter(piece);
        }
        if (empty > 0)
            out += static_cast<char>('0' + empty);
        if (rank > 0)
            out += '/';
    }
    return out;
}

std::string Position::Fen() const
{
    std::string castling;
    if (m_castling & 1) castling += 'K';
    if (m_castling & 2) castling += 'Q';
    if (m_castling & 4) castling += 'k';
    if (m_castling & 8) castling += 'q';
    if (castling.empty()) castling = "-";
    return Placement() + (m_white ? " w " : " b ") + castling + ' ' + (m_ep < 0 ? std::string("-") : SquareName(m_ep))
        + ' ' + std::to_string(m_halfmove) + ' ' + std::to_string(m_fullmove);
}

bool Position::Attacked(int sq, bool byWhite) const
{
    const int s = SideSign(byWhite);
    const int f = FileOf(sq), r = RankOf(sq);
    // Pawns attack towards the far side, so look one rank back towards their home.
    const int pawnRank = r - s;
    for (int df : {-1, 1})
        if (Inside(f + df, pawnRank) && At(MakeSquare(f + df, pawnRank)) == s * Pawn)
            return true;
    for (const auto& d : kKnightSteps)
        if (Inside(f + d[0], r + d[1]) && At(MakeSquare(f + d[0], r + d[1])) == s * Knight)
            return true;
    for (const auto& d : kKingSteps)
        if (Inside(f + d[0], r + d[1]) && At(MakeSquare(f + d[0], r + d[1])) == s * King)
            return true;
    for (const auto& d : kDiagonals) {
        for (int ff = f + d[0], rr = r + d[1]; Inside(ff, rr); ff += d[0], rr += d[1]) {
            const int8_t piece = At(MakeSquare(ff, rr));
            if (piece == 0)
                continue;
            if (piece == s * Bishop || piece == s * Queen)
                return true;
            break;
        }
    }
    for (const auto& d : kLines) {
        for (int ff = f + d[0], rr = r + d[1]; Inside(ff, rr); ff += d[0], rr += d[1]) {
            const int8_t piece = At(MakeSquare(ff, rr));
            if (piece == 0)
                continue;
            if (piece == s * Rook || piece == s * Queen)
                return true;
            break;
        }
    }
    return false;
}

int Position::KingSquare(bool white) const
{
    for (int sq = 0; sq < 64; ++sq)
        if (At(sq) == SideSign(white) * King)
            return sq;
    return -1;
}

bool Position::InCheck() const
{
    const int king = KingSquare(m_white);
    return king >= 0 && Attacked(king, !m_white);
}

void Position::GeneratePseudo(std::vector<Move>& out) const
{
    const int s = SideSign(m_white);
    auto add = [&](int from, int to) {
        Move m;
        m.from = static_cast<int8_t>(from);
        m.to = static_cast<int8_t>(to);
        m.capture = At(to) != 0;
        out.push_back(m);
    };
    for (int from = 0; from < 64; ++from) {
        const int8_t piece = At(from);
        if (piece * s <= 0)
            continue;
        const int type = std::abs(piece);
        const int f = FileOf(from), r = RankOf(from);
        if (type == Pawn) {
            const int promoRank = m_white ? 7 : 0;
            const int startRank = m_white ? 1 : 6;
            auto addPawn = [&](int to, bool capture, bool ep) {
                Move m;
                m.from = static_cast<int8_t>(from);
                m.to = static_cast<int8_t>(to);
                m.capture = capture;
                m.enPassant = ep;
                if (RankOf(to) == promoRank) {
                    for (int8_t promo : {Queen, Rook, Bishop, Knight}) {
                        m.promotion = promo;
                        out.push_back(m);
                    }
                } else {
                    out.push_back(m);
                }
            };
            const int one = MakeSquare(f, r + s);
            if (Inside(f, r + s) && At(one) == 0) {
                addPawn(one, false, false);
                const int two = MakeSquare(f, r + 2 * s);
                if (r == startRank && At(two) == 0)
                    addPawn(two, false, false);
            }
            for (int df : {-1, 1}) {
                if (!Inside(f + df, r + s))
                    continue;
                const int to = MakeSquare(f + df, r + s);
                if (At(to) * s < 0)
                    addPawn(to, true, false);
                else if (to == m_ep && At(to) == 0)
                    addPawn(to, true, true);
            }
            continue;
        }
        auto steps = [&](const int (*dirs)[2], int count, bool slide) {
            for (int i = 0; i < count; ++i) {
                for (int ff = f + dirs[i][0], rr = r + dirs[i][1]; Inside(ff, rr); ff += dirs[i][0], rr += dirs[i][1]) {
                    const int to = MakeSquare(ff, rr);
                    if (At(to) * s > 0)
                        break;
                    add(from, to);
                    if (At(to) != 0 || !slide)
                        break;
                }
            }
        };
        switch (type) {
        case Knight: steps(kKnightSteps, 8, false); break;
        case Bishop: steps(kDiagonals, 4, true); break;
        case Rook: steps(kLines, 4, true); break;
        case Queen: steps(kDiagonals, 4, true); steps(kLines, 4, true); break;
        case King: {
            steps(kKingSteps, 8, false);
            const int home = m_white ? 4 : 60;
            const int kingSide = m_white ? 1 : 4, queenSide = m_white ? 2 : 8;
            if (from == home && !Attacked(home, !m_white)) {
                if ((m_castling & kingSide) && At(home + 1) == 0 && At(home + 2) == 0 && !Attacked(home + 1, !m_white)) {
                    Move m;
                    m.from = static_cast<int8_t>(home);
                    m.to = static_cast<int8_t>(home + 2);
                    m.castling = true;
                    out.push_back(m);
                }
                if ((m_castling & queenSide) && At(home - 1) == 0 && At(home - 2) == 0 && At(home - 3) == 0
                    && !Attacked(home - 1, !m_white)) {
                    Move m;
                    m.from = static_cast<int8_t>(home);
                    m.to = static_cast<int8_t>(home - 2);
                    m.castling = true;
                    out.push_back(m);
                }
            }
            break;
        }
        default: break;
        }
    }
}

std::vector<Move> Position::LegalMoves() const
{
    std::vector<Move> pseudo, legal;
    pseudo.reserve(64);
    GeneratePseudo(pseudo);
    for (const Move& m : pseudo) {
        Position next = After(m);
        const int king = next.KingSquare(m_white);
        if (king >= 0 && !next.Attacked(king, !m_white))
            legal.push_back(m);
    }
    return legal;
}

void Position::Play(const Move& m)
{
    const int s = SideSign(m_white);
    const int8_t piece = At(m.from);
    auto& board = m_board;
    const auto from = static_cast<std::size_t>(m.from), to = static_cast<std::size_t>(m.to);
    const bool pawnMove = std::abs(piece) == Pawn;
    if (m.enPassant)
        board[static_cast<std::size_t>(m.to - 8 * s)] = 0;
    board[to] = m.promotion ? static_cast<int8_t>(s * m.promotion) : piece;
    board[from] = 0;
    if (m.castling) {
        const bool kingSide = m.to > m.from;
        const int rookFrom = kingSide ? m.from + 3 : m.from - 4;
        const int rookTo = kingSide ? m.from + 1 : m.from - 1;
        board[static_cast<std::size_t>(rookTo)] = board[static_cast<std::size_t>(rookFrom)];
        board[static_cast<std::size_t>(rookFrom)] = 0;
    }
    m_ep = pawnMove && std::abs(m.to - m.from) == 16 ? (m.from + m.to) / 2 : -1;
    // Any move from or to a corner or king square ends the rights it touches.
    auto touch = [&](int sq) {
        if (sq == 4) m_castling &= ~3;
        if (sq == 60) m_castling &= ~12;
        if (sq == 7) m_castling &= ~1;
        if (sq == 0) m_castling &= ~2;
        if (sq == 63) m_castling &= ~4;
        if (sq == 56) m_castling &= ~8;
    };
    touch(m.from);
    touch(m.to);
    m_halfmove = (pawnMove || m.capture) ? 0 : m_halfmove + 1;
    if (!m_white)
        ++m_fullmove;
    m_white = !m_white;
}

std::string Position::San(const Move& m) const
{
    return SanAmong(m, LegalMoves());
}

std::string Position::SanAmong(const Move& m, const std::vector<Move>& legal) const
{
    if (m.castling)
        return m.to > m.from ? "O-O" : "O-O-O";
    const int type = std::abs(At(m.from));
    std::string out;
    if (type == Pawn) {
        if (m.capture)
            out += static_cast<char>('a' + FileOf(m.from));
    } else {
        out += kLetters[type];
        bool clash = false, sameFile = false, sameRank = false;
        for (const Move& other : legal) {
            if (other.to != m.to || other.from == m.from || std::abs(At(other.from)) != type)
                continue;
            clash = true;
            sameFile = sameFile || FileOf(other.from) == FileOf(m.from);
            sameRank = sameRank || RankOf(other.from) == RankOf(m.from);
        }
        if (clash) {
            if (!sameFile)
                out += static_cast<char>('a' + FileOf(m.from));
            else if (!sameRank)
                out += static_cast<char>('1' + RankOf(m.from));
            else
                out += SquareName(m.from);
        }
    }
    if (m.capture)
        out += 'x';
    out += SquareName(m.to);
    if (m.promotion) {
        out += '=';
        out += kLetters[m.promotion];
    }
    return out;
}

std::optional<Move> Position::ParseSan(std::string_view san) const
{
    std::string token(san);
    if (auto ep = token.find("e.p."); ep != std::string::npos)
        token.erase(ep);
    while (!token.empty() && std::string_view("+#!?").find(token.back()) != std::string_view::npos)
        token.pop_back();
    for (char& c : token)
        if (c == '0')
            c = 'O';
    // "O" only stands in castling; a zero inside a square name cannot occur.
    std::optional<Move> found;
    const auto legal = LegalMoves();
    for (const Move& m : legal) {
        if (ParseSquare(token.size() >= 2 ? std::string_view(token).substr(token.size() - 2) : std::string_view()) != m.to
            && !m.promotion && !m.castling)
            continue;  // the destination is the token's last square, except for promotions and castling
        std::string text = SanAmong(m, legal);
        // Promotion may be written without "=".
        bool match = text == token;
        if (!match && m.promotion) {
            std::string loose = text;
            loose.erase(loose.find('='), 1);
            match = loose == token;
        }
        if (!match && !m.castling && std::abs(At(m.from)) != Pawn && token.size() >= 4
            && token[0] == kLetters[std::abs(At(m.from))] && ParseSquare(std::string_view(token).substr(token.size() - 2)) == m.to
            && (token.find('x') != std::string::npos) == m.capture) {
            // A file or rank given where none was needed ("Rad1" with one rook able to go).
            const char hint = token[1];
            match = (hint >= 'a' && hint <= 'h' && hint - 'a' == FileOf(m.from) && token.size() == (m.capture ? 5u : 4u))
                || (hint >= '1' && hint <= '8' && hint - '1' == RankOf(m.from) && token.size() == (m.capture ? 5u : 4u));
        }
        if (!match && !m.castling && std::abs(At(m.from)) != Pawn) {
            // Over-disambiguated forms such as "Ng1f3" are still one move.
            std::string full(1, kLetters[std::abs(At(m.from))]);
            full += SquareName(m.from);
            if (m.capture)
                full += 'x';
            full += SquareName(m.to);
            match = full == token;
        }
        if (match) {
            if (found)
                return std::nullopt;
            found = m;
        }
    }
    return found;
}

std::string Position::Uci(const Move& m)
{
    std::string out = SquareName(m.from) + SquareName(m.to);
    if (m.promotion)
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(kLetters[m.promotion])));
    return out;
}

std::optional<Move> Position::ParseUci(std::string_view uci) const
{
    for (const Move& m : LegalMoves())
        if (Uci(m) == uci)
            return m;
    return std::nullopt;
}

std::array<int, 7> Position::Count(bool white) const
{
    std::array<int, 7> counts{};
    for (int8_t piece : m_board)
        if (piece != 0 && (piece > 0) == white)
            ++counts[static_cast<std::size_t>(std::abs(piece))];
    return counts;
}

uint64_t Perft(const Position& position, int depth)
{
    if (depth == 0)
        return 1;
    const auto moves = position.LegalMoves();
    if (depth == 1)
        return moves.size();
    uint64_t total = 0;
    for (const Move& m : moves)
        total += Perft(position.After(m), depth - 1);
    return total;
}

} // namespace fullchess
