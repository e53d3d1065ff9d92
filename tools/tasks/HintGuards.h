#pragma once
// The guards against a hint that gives the move away. Each reads only the
// start and the first move, so that the catalogue and `verify` judge a hint
// alike. The rule behind all of them: a hint may name an idea only where the
// user still has a choice of moves that fit it.
#include "LineReading.h"

// Whether a hint may name the user's pieces of this kind: there are some,
// and every one has three legal moves or more.
bool MayNameKind(const fullchess::Position& root, fullchess::PieceType kind);
// Whether a hint may name a piece by the square it stood on at the start: it
// stood there, and that is not the square the first move goes to.
bool MayPlace(const fullchess::Position& root, const fullchess::Move& first, const PieceRef& piece);

// The first move pushes a passed pawn, and the passed pawns have fewer than
// three moves: "the passed pawn" names the move.
bool PassedPawnIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The passed pawns, all of them or those on the wing of the first move, have
// fewer than three moves.
bool PassedPawnsAreTheMove(const fullchess::Position& root, const fullchess::Move& first);
bool WingPassedPawnsAreTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The user's king has fewer than two moves forward.
bool KingForwardIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// Pieces of the moving kind have fewer than two moves onto the wing the first
// move goes to.
bool WingIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The same, or the moving kind may not be named at all.
bool NamedPieceWingIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two heavy-piece moves (rook moves only) go onto the file of the
// first move from another file.
bool FileIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
bool RookFileIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// A rook goes in to the seventh rank, and the rooks have fewer than two ways in.
bool SeventhIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two bishop and queen moves go onto the long diagonal of the
// first move's square from off it.
bool DiagonalIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
