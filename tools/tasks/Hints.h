#pragma once
// Hints and task texts for the tests, derived from what each solution line
// actually does on the board.
//
// A hint names the idea of its own line: the mate with a sacrifice, the pawn
// that queens, the stalemate, the fork, the pin, the open file, the outpost...
// Each test gets a list of true hints, from the most general to the most
// particular (naming pieces and squares); the selection then picks among them
// so that general hints repeat across tests and particular ones stay unique.
#include "Candidate.h"

#include <string>
#include <vector>

inline const std::string kHintMateWithSacrifice = "Поставьте мат с жертвой.";
inline const std::string kHintQueenThePawn = "Проведите пешку в ферзи.";
inline const std::string kHintStalemate = "Сделайте ничью патом.";

// What a line does, read off the board by replaying it with its engine
// continuation. Exposed for the tests.
struct LineFeatures {
    bool mates = false;              // the line or its forced continuation mates
    int mateMoves = 0;               // user moves to mate, counting the line's
    bool sacrifice = false;          // the user gives up material the opponent takes
    std::string sacrificedPiece;     // the kind letter of the first piece given up
    bool stalemate = false;          // the line or its continuation ends in stalemate
    bool perpetual = false;          // the user keeps checking to the end
    bool promotes = false;           // the user queens a pawn in the continuation
    std::string passedPawnSquare;    // the pawn that queens, where it stands at the start
    bool fork = false;               // a user move attacks two things of value at once
    std::string forkPiece;           // kind letter of the forking piece
    std::string forkTargets[2];      // kind letters of the two targets
    bool pin = false;                // a user move pins an enemy piece to a bigger one
    std::string pinnedPiece, pinnedSquare;
    bool discovered = false;         // a user move uncovers an attack of another piece
    bool doubleCheck = false;
    bool backRank = false;           // the mate falls on the king's own back rank
    bool smothered = false;          // a knight mates a king hemmed in by its own pieces
    std::string matingPiece;         // kind letter of the piece that mates
    std::string wonPiece;            // the biggest piece the user wins net (kind letter), if any
    std::string wonSquare;           // where the user first takes a piece of that kind
    bool firstMoveCheck = false;
    bool firstMoveCapture = false;
    // Quiet devices (for strategy lines; first user move).
    std::string movedPiece;          // kind letter of the first moved piece
    std::string fromSquare, toSquare;
    bool pawnBreak = false;          // a pawn move that strikes at an enemy pawn
    bool passedPawnPush = false;     // the pushed pawn is passed
    bool openFile = false;           // a rook or queen goes to an open or half-open file
    bool seventhRank = false;        // a rook reaches the seventh rank
    bool outpost = false;            // a knight lands where no enemy pawn can chase it
    bool battery = false;            // two heavy pieces line up on a file
    bool kingActivity = false;       // the king steps up in an endgame
    bool endgame = false;
    bool opening = false;            // early in the game (the position's ply is below 30)
    bool spaceGain = false;          // a centre or wing pawn steps forward without contact
    bool restricts = false;          // the move takes away most moves of an enemy piece
    std::string restrictedPiece;
    bool exchange = false;           // the move offers or makes an exchange of pieces
    bool centralises = false;        // a piece goes to the centre
    bool prophylaxis = false;        // the move stops the opponent's best reply
    bool longDiagonal = false;       // a bishop or queen takes a long diagonal
    bool improvesWorst = false;      // the piece moved had the fewest moves
    bool kingAttack = false;         // a piece comes close to the enemy king
    bool weakPawn = false;           // the moved piece attacks an isolated or unguarded enemy pawn
    std::string weakPawnSquare;
    bool pawnStorm = false;          // a pawn advances on the wing where the enemy king stands
    bool guardsKing = false;         // a piece steps next to its own king
};

LineFeatures AnalyseLine(const Candidate& candidate, int tokens);

// True hints for the test, general first. Never empty.
std::vector<std::string> HintVariants(const Candidate& candidate, int tokens, bool drawTest);
