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
// The first move pushes the user's only passed pawn: a race or the king
// named beside it points at the one pawn to push.
bool OnlyPassedPawnIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The user's king has fewer than two moves forward, or the only passed pawn
// is the move.
bool KingForwardIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The king called the main piece is the one that moves first, or the only
// passed pawn is the move.
bool KingIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The first move takes the king off lines that enemy line pieces aim at it
// along: fewer of them aim at it after.
bool KingOffLine(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two king moves do that.
bool KingOffLineIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// A knight steps off the edge file (a or h) without taking.
bool KnightOffTheRim(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two moves do that.
bool KnightOffTheRimIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// A rook goes up its file from the back rank to the third or fourth rank,
// taking nothing (a rook lift).
bool RookLift(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two moves do that.
bool RookLiftIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// A knight goes into the centre (c3-f6) from outside it, taking nothing.
bool KnightToCentre(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two moves do that.
bool KnightToCentreIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two king moves go nearer the centre.
bool KingToCentreIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two pawns can meet an enemy pawn (a lever) on a square where
// no enemy pawn takes them for nothing.
bool LeverIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two heavy-piece moves make a battery on a file.
bool BatteryIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The first move gives a discovered check (a double check among them), and
// fewer than two legal moves do.
bool DiscoveredCheckIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The first move gives a double check, and fewer than two legal moves do.
bool DoubleCheckIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// Fewer than two moves newly attack the enemy piece the first move hits.
bool HitIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
// The first move takes a piece of this kind: a hint that says a piece of
// that kind is won names the capture.
bool TakesTheKind(const fullchess::Position& root, const fullchess::Move& first, fullchess::PieceType kind);
// Pieces of the moving kind have fewer than two moves onto the wing the first
// move goes to (pawns: fewer than two pawns can go there).
bool WingIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
bool LeverWingIsTheMove(const fullchess::Position& root, const fullchess::Move& first);
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
