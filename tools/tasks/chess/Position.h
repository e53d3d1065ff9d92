#pragma once
// Full chess rules for the offline task tools: FEN, legal moves (castling,
// en passant and promotion included), SAN and UCI move text.
//
// The program itself does not use this: at run time the user's moves are
// judged by the deliberately small rules of the core. The tools need the
// real rules to replay master games, to talk to the engine and to prove that
// every stored test is legal chess.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fullchess {

// Piece values: 0 empty, 1 pawn, 2 knight, 3 bishop, 4 rook, 5 queen, 6 king;
// positive for White, negative for Black.
enum PieceType : int8_t { Empty = 0, Pawn = 1, Knight = 2, Bishop = 3, Rook = 4, Queen = 5, King = 6 };

// Square index 0..63: file + 8 * rank, a1 = 0, h1 = 7, a8 = 56.
constexpr int FileOf(int sq) { return sq & 7; }
constexpr int RankOf(int sq) { return sq >> 3; }
constexpr int MakeSquare(int file, int rank) { return file + 8 * rank; }
std::string SquareName(int sq);
// -1 when the text is not a square name such as "e4".
int ParseSquare(std::string_view text);

struct Move {
    int8_t from = 0;
    int8_t to = 0;
    int8_t promotion = 0;  // piece type, 0 when none
    bool capture = false;
    bool enPassant = false;
    bool castling = false;
    bool operator==(const Move&) const = default;
};

class Position {
public:
    // The initial position.
    Position();
    // Nullopt when the text is not a FEN record this class can hold. The
    // castling, en-passant and counter fields may be missing ("-" and 0 1).
    static std::optional<Position> FromFen(std::string_view fen);

    std::string Fen() const;
    // Only the piece-placement field.
    std::string Placement() const;

    int8_t At(int sq) const { return m_board[static_cast<std::size_t>(sq)]; }
    bool WhiteToMove() const { return m_white; }
    int Castling() const { return m_castling; }  // bits: 1 K, 2 Q, 4 k, 8 q
    int EnPassant() const { return m_ep; }       // target square or -1

    std::vector<Move> LegalMoves() const;
    // Whether the side to move is in check.
    bool InCheck() const;
    bool IsCheckmate() const { return InCheck() && LegalMoves().empty(); }
    bool IsStalemate() const { return !InCheck() && LegalMoves().empty(); }
    // Whether `sq` is attacked by the pieces of the given side.
    bool Attacked(int sq, bool byWhite) const;

    // Plays a move that LegalMoves() gave.
    void Play(const Move& move);
    Position After(const Move& move) const
    {
        Position next = *this;
        next.Play(move);
        return next;
    }

    // SAN without a check or mate sign ("Nbd2", "exd5", "e8=Q", "O-O").
    std::string San(const Move& move) const;
    // The legal move a SAN token names; nullopt when none or ambiguous.
    // Check signs, "!" and "?" marks and "e.p." are ignored; "0-0" is accepted.
    std::optional<Move> ParseSan(std::string_view san) const;
    static std::string Uci(const Move& move);
    std::optional<Move> ParseUci(std::string_view uci) const;

    // Counts of the pieces of one side by type (index 1..6).
    std::array<int, 7> Count(bool white) const;

private:
    struct EmptyTag {};
    explicit Position(EmptyTag) {}
    void GeneratePseudo(std::vector<Move>& out) const;
    std::string SanAmong(const Move& move, const std::vector<Move>& legal) const;
    int KingSquare(bool white) const;

    std::array<int8_t, 64> m_board{};
    bool m_white = true;
    int m_castling = 0;
    int m_ep = -1;
    int m_halfmove = 0;
    int m_fullmove = 1;
};

// Number of leaf nodes of the legal move tree to the given depth.
uint64_t Perft(const Position& position, int depth);

} // namespace fullchess
