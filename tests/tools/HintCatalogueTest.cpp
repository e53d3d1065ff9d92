// The hint catalogue, entry by entry: each is said where it holds, not where it does not or would give the move away.
#include "Words.h"
#include "Candidate.h"
#include "HintCatalogue.h"
#include "HintWords.h"
#include "Hints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

// A line as the selection sees it: the stored moves, the engine's continuation after them and its score after the
// cut. `entries`: every entry said, in order; those not named are not said.
struct SaidRow { const char* name; TaskKind kind; const char* fen, *moves, *continuation; int tokens; const char* after; std::string entries; };

Candidate LineOf(const SaidRow& row)
{
    Candidate c;
    c.kind = row.kind;
    c.fen = row.fen;
    c.line.moves = Words(row.moves);
    c.line.continuation = Words(row.continuation);
    for (std::size_t i = 0; i < c.line.moves.size(); i += 2)
        c.line.steps.push_back({Score::Cp(500), Score::Cp(0), *ParseScore(row.after), false, false});
    return c;
}

constexpr TaskKind T = TaskKind::Tactic, S = TaskKind::Strategy, D = TaskKind::Draw;
// Said where no idea of the line can be named.
const std::string kBestMove = "plan.best-move plan.only-move";
const std::string kGeneral = "general.strongest general.only-move general.only-way general.calculate general.precision";
const std::string kGeneralEdge = "general.ending-edge " + kGeneral;

// Lines from the mined games, and three small positions for the entries they do not show.
const SaidRow kSaid[] = {
    {"attack, passed, king", T, "8/8/8/4Rpk1/6p1/4P1K1/4r3/8 b - - 0 1", "e2e3 e5e3 f5f4 g3f2 f4e3 f2e3 g5h4 e3f2 h4h3 f2g1 h3g3",
     "g1f1 g3h2 f1e2 g4g3 e2d3 g3g2 d3c4 h2g3 c4d5 g2g1q d5c6 g1a7 c6b5 g3f4", 9, "m24",
     "attack.irresistible attack.king-falls attack.mating passed.queens passed.decides passed.unstoppable passed.steps-left king.decides king.main-piece sacrifice.of sacrifice.pays sacrifice.pays-in decoy.fatal-square decoy.decides intermezzo.check intermezzo.decides fork.find-fork fork.targets fork.targets-on"},
    {"mate.back-rank-by, mate.back-rank, mate.removal", T, "2r2qk1/r4p1p/b3pBpQ/n3P2P/p2p3R/P5P1/2p2PB1/R5K1 w - - 0 1", "h6h7 g8h7 h5g6 h7g8 h4h8",
     "", 5, "m1",
     "mate.with-sacrifice mate.in mate.find mate.net mate.king-defenceless mate.back-rank-by mate.by mate.back-rank mate.removal mate.sacrifice-of mate.no-material-spared mate.decoy mate.double-check mate.clearance"},
    {"plan.open-file, plan.open-file-named, plan.queen-trade", S, "r2q1rk1/6p1/4pn1p/4N3/pb1PPB2/1p1Q2P1/5P1P/RR4K1 w - - 0 1",
     "d3c4 d8b6 e5d3 f6e4 c4b4 b6b4 d3b4 g7g5 f4c1 e4c3 b1b2", "f8b8 b4c6 b8b6 c6e5 c3d1 b2b1 d1c3", 7, "c0",
     "plan.open-file plan.open-file-named plan.queen-trade plan.queen-trade-weaknesses plan.win-material plan.win-material-scattered plan.win-piece-named plan.hit plan.hit-on"},
    {"pin, trap, clearance", T, "RR1r1q1k/p5p1/2p1b2p/2PpP2P/4pP2/P3P3/6P1/6K1 w - - 0 1", "b8d8 f8d8 a8d8",
     "h8h7 d8d6 e6g4 e5e6 g4h5 f4f5 h5g6 f5g6 h7g6 d6c6 d5d4 e6e7 g6f7 e3d4 f7e7 c6c7", 3, "c638",
     "pin.use pin.wins pin.win-on clearance.free clearance.with-tempo material.combination material.win"},
    {"plan.space, plan.space-wing, plan.storm", S, "r3r3/p4pkp/1p6/2p1n3/2P1n3/3R2P1/PB2PPKP/R7 w - - 0 1", "f2f4",
     "b6b5 d3e3 e4d2 c4b5 d2c4 b2e5 f7f6 e3c3 c4e5 f4e5 e8e5 g2f2 a8e8 e2e3 e5f5 f2e2", 1, "c100",
     "plan.space plan.space-wing plan.storm plan.storm-wing plan.majority plan.majority-wing plan.majority-future"},
    {"removal, overload, decoy", T, "8/5ppk/4n1q1/1p1Q4/5B1p/3P1RPP/P1r2PK1/8 b - - 0 1", "e6f4 f3f4 g6g3",
     "g2f1 g3f4 d5e4 f4e4 d3e4 c2a2 f1e1 b5b4 e1f1 b4b3 f1g2 b3b2 e4e5 g7g6 g2f3 a2a1", 3, "c816",
     "removal.destroy removal.decides overload.use overload.piece overload.on-square decoy.fatal-square decoy.decides fork.find-double-attack fork.by fork.targets-on"},
    {"plan.diagonal, plan.diagonal-reach, plan.diagonal-named", S, "r1bq1rk1/p1p1bppp/1p2pn2/4N1B1/3P4/3B4/PPP2PPP/R2Q1RK1 b - - 0 1", "c8b7",
     "c2c3 c7c5 d4c5 e7c5 d1e2 d8d5 e5f3 c5e7 f1d1 d5c6 g5f4 f8d8 a2a4 h7h6 f4e5 f6e4", 1, "c0",
     "plan.diagonal plan.diagonal-reach plan.diagonal-named plan.diagonal-to-king plan.worst-piece plan.worst-piece-named plan.activate-wing"},
    {"plan.trade, plan.trade-simplifies, plan.attack-king", S, "5rk1/p3r3/1p1qn1p1/3pbP1p/1P1n3P/P2PB1NB/R5Q1/5R1K b - - 0 1",
     "e5g3 f5e6 f8f1 g2f1 d4e6", "f1f6 e6g7 f6d6 g3d6 e3g5 e7e5 a2c2 d6e7 g5e7 e5e7 h1g2 g8h7 a3a4 g6g5 h4g5 h7g6", 5, "c55",
     "plan.trade plan.win-pawn plan.win-pawn-undefended"},
    {"general", T, "8/2p5/5kP1/8/7q/8/Q4PK1/8 w - - 0 1", "a2f7", "f6e5 f7c7 e5e6 c7f7 e6d6 f7f5 h4d4 f2f4 d6c6 f5e6 c6b7 g2g3 d4d1 g3h4 d1g1 e6e7",
     1, "c670", kGeneralEdge},
    {"plan.half-open-file, plan.half-open-file-named, plan.battery", S, "5rk1/pbp4p/1p1p1p2/6qn/1PP2RBr/P2QP2P/1B4PK/R7 w - - 0 1",
     "a1f1 h5f4 f1f4 h7h5 g4f3 h4f4 e3f4 g5f4 g2g3 f4f3 d3g6 g8h8 g6h6 h8g8 h6g6", "g8h8 g6h6", 1, "c0",
     "plan.half-open-file plan.half-open-file-named plan.battery plan.battery-file"},
    {"breakthrough, deflection", T, "8/6p1/1p6/p1k1p2p/P1P3PP/2K2P2/8/8 b - - 0 1", "e5e4 f3e4 h5g4",
     "c3d3 g4g3 d3e3 c5c4 e3f3 c4d4 f3g3 d4e4 g3g4 e4d5 g4g5 b6b5 a4b5 a5a4 b5b6 d5c6", 3, "c655",
     "breakthrough.decides deflection.defender deflection.of deflection.on-square"},
    {"discovered-check, interference, material", T, "2r2k2/pp5r/5B2/3P1Q2/4P3/6PP/P6K/2q5 w - - 0 1", "f6c3 h7f7 f5c8",
     "f8e7 c3b4 e7f6 c8c1 f6g6 e4e5 f7f2 h2g1 f2f7 e5e6 f7f3 c1c7 b7b6 e6e7 f3e3 d5d6", 3, "c806",
     "discovered-check.decides discovered-check.wins interference.cut interference.of material.combination material.win material.doomed"},
    {"draw", D, "2k5/4R3/3NK3/8/8/p7/r7/8 b - - 0 1", "c8b8 e7b7 b8a8", "b7b3 a8a7 d6b5 a7a6 b5a3 a6a5 a3c4 a5a4 b3b6 a2h2 e6d5 h2h5 d5d4 h5h8", 1,
     "c0", "draw.only-move draw.exact-defence draw.all-but-one"},
    {"plan.passed-forward, plan.passed-push, plan.passed-wing", S, "8/p6R/5kp1/1p6/4KP2/6rP/8/8 b - - 0 1", "a7a5",
     "h7b7 b5b4 b7b6 f6e7 b6b5 g3a3 e4d4 b4b3 f4f5 g6f5 b5f5 a3a2 f5b5 a5a4 d4c3 e7d6", 1, "c284",
     "plan.passed-forward plan.passed-push plan.passed-wing"},
    {"plan.king-strong, plan.king-to-centre, plan.king-wing", S, "4R3/8/8/1P6/P2k4/1K2p3/8/7r w - - 0 1", "b3b4",
     "d4d3 b5b6 e3e2 e8e2 d3e2 a4a5 e2d3 a5a6 d3d4 a6a7 h1b1 b4a3 d4c3 a3a2 b1b6 a7a8q", 1, "c229", "plan.king-wing"},
    {"plan.lever, plan.lever-chain, plan.lever-wing", S, "8/3k3p/2p3p1/2p5/P4P1P/N2K4/5bP1/8 w - - 0 1", "h4h5",
     "g6h5 a3c4 f2g3 f4f5 g3h4 a4a5 h4f6 c4d2 f6d8 a5a6 d7c7 d2e4 c7b6 e4c5 d8e7 c5d7", 1, "c262",
     "plan.majority plan.majority-wing plan.majority-future"},
    {"discovered", T, "5r1k/7p/p4qnP/5R2/p2Q4/1BP2P2/1P6/1K6 b - - 0 1", "f6d4",
     "c3d4 f8f5 b3c4 f5f6 b1a2 f6b6 d4d5 b6d6 a2a3 g6e7 a3b4 e7f5 b4c5 d6h6", 1, "c506", "discovered.find discovered.on discovered.on-square"},
    {"passed, king", T, "8/8/1p6/1Pk3Kp/8/6P1/8/8 w - - 0 1", "g5h5 c5b5 g3g4 b5a4 g4g5 b6b5 g5g6",
     "a4a3 g6g7 a3b3 g7g8q b3c3 h5g5 c3b2 g8c8 b2a3 c8c3 a3a4 g5g4", 3, "c691", "passed.push-decides passed.push"},
    {"perpetual", D, "8/2R5/k1p5/P1K5/1P5r/8/8/8 b - - 0 1", "h4h5 c5d6 h5h6 d6c5 h6h5", "c5d6 h5h6 d6e5 h6g6 e5d4 g6h6", 5, "c0",
     "perpetual.saves perpetual.draws perpetual.king"},
    {"sacrifice, fork, removal", T, "8/5r1k/2Q4p/3pP2P/p5q1/Pp6/1P6/K5R1 w - - 0 1", "c6g6 g4g6 h5g6 h7g8 g6f7",
     "g8f7 a1b1 f7e6 g1e1 h6h5 b1c1 e6d7 c1d2 d7e6 d2d3 d5d4 d3d4 e6f5 e5e6 f5f6 d4d5", 5, "c923",
     "sacrifice.of sacrifice.pays sacrifice.pays-in fork.find-fork fork.targets-on removal.destroy removal.decides removal.main-defender double-check.decides double-check.no-block material.combination material.win material.doomed"},
    {"stalemate", D, "7k/3Q4/4q1K1/8/6P1/8/8/8 w - - 0 1", "d7e6", "", 1, "c0", "stalemate.named stalemate.saves"},
    {"plan.best-move, plan.only-move", S, "8/5k2/8/3K2Pp/P5r1/8/R7/8 w - - 0 1", "a4a5",
     "g4g5 d5c6 g5g6 c6b7 g6g7 a5a6 h5h4 b7b6 g7g6 b6c7 g6g7 a2a5 f7g6 c7b6 g7g8 a6a7", 1, "c260", kBestMove},
    {"plan.outpost, plan.outpost-knight, plan.activate-wing", S, "8/8/4N3/KP3p2/2k3p1/6P1/5n2/8 b - - 0 1", "f2e4 b5b6 e4d6",
     "a5a6 c4d5 e6g7 f5f4 g3f4 g4g3 g7f5 d6f5 b6b7 g3g2 b7b8q g2g1q b8e5 d5c6", 1, "c-21",
     "plan.outpost plan.outpost-knight plan.weak-pawn plan.weak-pawn-named plan.activate-wing plan.knight-centre"},
    {"passed, breakthrough", T, "8/p7/3R4/3b3P/1p1k4/2p3K1/PP6/8 w - - 0 1", "b2c3 b4c3 h5h6",
     "d4e5 h6h7 e5d6 h7h8q c3c2 h8d8 d6c5 d8c8 d5c6 c8f5 c5b6 f5c2 a7a6 g3f4", 1, "c631",
     "passed.queens passed.decides passed.unstoppable passed.steps-left passed.king-too-far breakthrough.decides breakthrough.sacrifice"},
    {"plan.restrict, plan.restrict-piece", S, "5bk1/2N5/2p1P1np/6r1/8/2P5/4q1PB/R5QK b - - 0 1", "g5h5",
     "g1e1 e2g4 e6e7 f8e7 e1e6 g4e6 c7e6 e7d6 g2g3 d6g3 a1a2 g6f4 e6d8 c6c5 h1g1 g3f2", 1, "c56", "plan.restrict plan.restrict-piece"},
    {"plan.win-pawn, plan.win-pawn-undefended, plan.pawn-trade", S, "6r1/1p1k4/2pPb3/4p3/PP6/5Prp/2BR1RPK/8 b - - 0 1", "h3g2",
     "h2g1 g3h3 f2g2 h3f3 g2g8 e6g8 d2g2 g8f7 g2f2 f3g3 g1h2 g3g7 f2f6 f7e6 f6h6 e5e4", 1, "c83", "plan.pawn-trade plan.pawn-trade-file"},
    {"plan.blockade, plan.blockade-named", S, "7k/7p/3pBn1q/1p1P1P2/2p1p3/2P1R2P/1P3Q1b/5K2 b - - 0 1", "h2f4 e3g3 f4g3 f2g3 h6c1",
     "f1g2 c1b2 g2g1 b2b1 g1h2 b1a2 h2g1 a2a7 g1f1 a7a3 f1g1 h7h5", 1, "c47", "plan.hit plan.hit-on plan.blockade plan.blockade-named"},
    // Any knight move uncovers the rook; only Ne6 mates.
    {"mate.discovered-check among several", T, "R2N2k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", "d8e6", "", 1, "m1",
     "mate.in mate.find mate.net mate.king-defenceless mate.by mate.discovered-check"},
    // f5-f6 is the one discovered check (tactics 25): the hint would name it.
    {"mate.back-rank-by, mate.back-rank", T, "8/4Nrpk/q6p/5P2/p3B3/8/PP2P2P/3R3K w - - 0 1",
     "f5f6 g7g6 e4g6 h7h8 d1d8 f7f8 d8f8", "", 7, "m1",
     "mate.in mate.find mate.net mate.king-defenceless mate.back-rank-by mate.by mate.back-rank mate.interference mate.clearance"},
    {"plan.king-guards, plan.king-wing", S, "8/6k1/8/7P/6Q1/6PK/3q4/8 b - - 0 1", "g7h8 g4c8 h8g7",
     "c8c7 g7g8 c7e5 d2d7 h3h4 g8h7 g3g4 d7d2 h4g3 d2c1 g3f3 c1f1 f3e3 f1f7", 1, "c-113", "plan.king-guards plan.king-wing"},
    {"plan.half-open-file, plan.seventh", S, "8/5pk1/8/4p3/1R3pPP/5K2/1Pr5/8 b - - 0 1", "c2h2 b4b5 h2h3",
     "f3g2 h3g3 g2f1 g7f6 b5b6 f6e7 g4g5 g3h3 b6h6 e5e4 h6f6 h3h1 f1f2 h1h2", 1, "c95",
     "plan.half-open-file plan.seventh plan.weak-pawn plan.weak-pawn-named"},
    {"mate.deflection", T, "5rk1/8/3P4/p1p5/PpP3p1/1P1R2pq/4Q3/6K1 b - - 0 1", "f8f1 e2f1 h3h2", "", 3, "m1",
     "mate.with-sacrifice mate.in mate.find mate.net mate.king-defenceless mate.by mate.sacrifice-of mate.no-material-spared mate.deflection"},
    {"mate.smothered, mate.clearance", T, "r1br3k/pp3Qpp/1q1N4/8/2B2n2/8/PPP3PP/R2K1R2 w - - 0 1", "f7g8 d8g8 d6f7", "", 3, "m1",
     "mate.with-sacrifice mate.in mate.find mate.net mate.king-defenceless mate.smothered mate.clearance mate.sacrifice-of mate.no-material-spared"},
    // Small positions: each next to its twin where the entry does not hold.
    {"sacrifice paid in two moves", T, "1r5k/p5bp/4Q1p1/8/q7/6P1/5P2/2R1N1K1 w - - 0 1", "c1c8 b8c8 e6c8", "a4e8 c8e8", 3, "c500",
     "sacrifice.of sacrifice.pays"},
    {"plan.outpost", S, "6k1/pp3ppp/3p4/8/4P3/2N5/PP3PPP/6K1 w - - 0 1", "c3d5", "", 1, "c100", "plan.outpost plan.outpost-knight"},
    {"no outpost where c6 chases", S, "6k1/pp3ppp/2pp4/8/4P3/2N5/PP3PPP/6K1 w - - 0 1", "c3d5", "", 1, "c100", kBestMove},
    {"plan.majority", S, "6k1/6pp/8/8/8/8/5PPP/6K1 w - - 0 1", "g2g4", "", 1, "c100", "plan.majority plan.majority-wing plan.majority-future"},
    {"no majority three against three", S, "6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", "g2g4", "", 1, "c100", kBestMove},
    {"plan.diagonal-to-king", S, "1k6/5ppp/8/8/8/8/5PPP/1B1Q2K1 w - - 0 1", "b1e4", "", 1, "c100",
     "plan.diagonal plan.diagonal-reach plan.diagonal-named plan.diagonal-to-king plan.activate-wing"},
    {"no diagonal to a king two files off", S, "2k5/5ppp/8/8/8/8/5PPP/1B1Q2K1 w - - 0 1", "b1e4", "", 1, "c100",
     "plan.diagonal plan.diagonal-reach plan.diagonal-named plan.activate-wing"},
    // One capture: no combination, and naming the knight would name the capture.
    {"the capture is the move", T, "4k3/8/8/8/8/8/3n4/3RK3 w - - 0 1", "d1d2", "", 1, "c500", kGeneralEdge},
    // What a move uncovers is another piece's line: not the mover's own, nor the enemy's.
    {"the queen keeps its own aim: a fork, not a discovery", T, "4k3/8/8/8/8/8/4Q3/4n1K1 w - - 0 1", "e2e6 e8d8 e6e1", "", 3,
     "c300", "fork.find-double-attack fork.by fork.targets fork.targets-on material.combination material.win material.doomed"},
    {"the knight leaves the black rook's file: a fork, not a discovery", T, "3r4/8/6k1/3N4/8/3q4/8/K7 w - - 0 1",
     "d5f4 g6f6 f4d3", "d8d3", 3, "c300",
     "fork.find-fork fork.by fork.targets-on material.combination material.win material.doomed"},
    {"plan.seventh-invade", S, "6k1/5ppp/3R4/8/8/8/5PPP/1R2K3 w - - 0 1", "d6d7", "", 1, "c100", "plan.seventh plan.seventh-invade"},
    {"plan.rook-behind", S, "6k1/8/P7/8/8/8/4RPPP/1R4K1 w - - 0 1", "b1a1", "", 1, "c100", "plan.rook-behind plan.rook-behind-file"},
    // Rb1-a1 is the one rook move onto the a-file: behind the pawn, but named, it is the move.
    {"plan.rook-behind given away", S, "6k1/8/P7/8/8/8/5PPP/1R4K1 w - - 0 1", "b1a1", "", 1, "c100", kBestMove},
    // Nc1-d3 frees the knight, but the one on a1 keeps the kind from being named: nothing better.
    {"plan.activate", S, "6k1/5ppp/8/8/8/8/5PPP/N1N3K1 w - - 0 1", "c1d3", "", 1, "c100", "plan.activate plan.best-move plan.only-move"},
    {"plan.rim-knight", S, "6k1/5ppp/8/8/8/N7/5PPP/6K1 w - - 0 1", "a3c4", "", 1, "c100",
     "plan.worst-piece plan.worst-piece-named plan.activate-wing plan.rim-knight"},
    {"plan.rook-lift", S, "r2q2k1/5ppp/8/8/8/8/5PPP/R2Q2K1 w - - 0 1", "a1a3", "", 1, "c100", "plan.activate-wing plan.rook-lift"},
    {"plan.knight-centre", S, "6k1/5ppp/8/8/8/8/5PPP/1N2N1K1 w - - 0 1", "b1c3", "", 1, "c100",
     "plan.worst-piece plan.worst-piece-named plan.activate-wing plan.knight-centre"},
    {"plan.lever", S, "6k1/pp3pp1/8/3pp2p/8/1P4PP/P1P2P2/6K1 w - - 0 1", "f2f4", "", 1, "c100", "plan.lever plan.lever-chain plan.lever-wing"},
    {"plan.king-to-centre", S, "6k1/5ppp/8/8/8/8/5PPP/4K3 w - - 0 1", "e1e2", "", 1, "c100", "plan.king-strong plan.king-to-centre plan.king-wing"},
    {"plan.attack-king", S, "r2q2k1/5ppp/8/8/8/8/3Q1PP1/R5K1 w - - 0 1", "d2h6", "", 1, "c100",
     "plan.half-open-file plan.attack-king plan.attack-king-closer"},
    // The second user move takes a rook on the other wing: the line no longer goes at the king.
    {"no king attack once a move turns away", S, "r2q2k1/5ppp/8/8/8/8/3Q1PP1/R5K1 w - - 0 1", "d2h6 a8a7 a1a7", "", 3, "c100",
     "plan.half-open-file plan.win-material plan.win-material-scattered plan.win-piece-named"},
    // Kc1-b2 traps the bishop; the king's walk is the move, so the king is not named.
    {"trap", T, "4k3/8/8/8/8/1P6/b1P5/2K5 w - - 0 1", "c1b2 e8d7 b2a2", "", 3, "c300",
     "trap.catch trap.on-square material.combination material.win material.doomed"},
    // The king walks after the first move, which is no push of the only passed pawn.
    {"king.forward", T, "8/7p/4k3/8/2P3P1/4K3/8/8 w - - 0 1", "g4g5 e6e7 e3e4 e7e6 c4c5", "e6d7 e4f5", 5, "c900",
     "passed.push-decides passed.push king.decides king.forward king.main-piece"},
    {"plan.king-safety", S, "r5k1/5ppp/1q6/8/8/8/5PP1/R2Q2K1 w - - 0 1", "g1h1", "", 1, "c100", "plan.king-safety plan.king-safety-named"},
    // An even trade is in the user's favour only where the engine's score rises by it (from 500 here).
    {"plan.trade-simplifies", S, "6k1/5ppp/8/4n3/8/5N2/5PPP/6K1 w - - 0 1", "f3e5", "", 1, "c600",
     "plan.trade plan.trade-simplifies plan.win-material-scattered"},
    {"no favour where the score falls", S, "6k1/5ppp/8/4n3/8/5N2/5PPP/6K1 w - - 0 1", "f3e5", "", 1, "c300",
     "plan.trade plan.win-material-scattered"},
    // The records a teacher found wrong: the false hint and the one that gave the move away are gone.
    {"tactics 47: the rook on g6 is only traded, b8 is won", T, "1r5R/p4kp1/3q2r1/3Pp1Q1/3n4/8/1p4PP/3R3K w - - 0 1",
     "d1f1 g6f6 f1f6 d6f6 g5f6 f7f6 h8b8", "e5e4 b8b2 f6e5 h1g1 e5d5 g1f2 d5c4 f2e3 a7a5 b2a2 d4c6 a2c2 c4d5 c2d2 d5e5 d2a2", 7, "c347",
     "material.combination material.win material.doomed"},
    {"tactics 147: the bishop falls to a pin, not trapped", T, "2r3k1/5p1p/6p1/8/pB4P1/P7/1P3P2/3B2K1 b - - 0 1", "c8c1 g1h2 c1d1",
     "b4c3 h7h6 h2g3 g6g5 g3g2 g8h7 f2f3 h7g6 g2f2 f7f5 f2e3 d1d8 c3b4 d8e8 e3f2 f5g4", 3, "c527",
     "pin.use pin.wins pin.win-on material.combination material.win material.doomed"},
    {"tactics 30: the only passed pawn, and the bishop stops it", T, "6k1/5p2/7p/P7/8/4PK2/1b5P/8 w - - 0 1", "a5a6",
     "g8g7 a6a7 b2e5 a7a8q e5f6 f3g2 f6g5 a8e8 g5h4 e3e4 h4g5 e4e5 g5c1 e5e6 f7e6 e8e6", 1, "c657", kGeneral},
    {"tactics 56: the queen on b7 is the defender", T, "7k/1qP3p1/3Q3p/8/8/6P1/p6K/8 w - - 0 1", "d6f8 h8h7 f8f5",
     "h7g8 c7c8q b7c8 f5c8 g8f7 c8b7 f7g6 b7a6 g6f5 a6a2 f5f6 a2g8 h6h5 g8f8 f6g6 f8h8", 3, "c1230",
     "passed.queens passed.decides passed.unstoppable passed.steps-left"},
    {"tactics 77: no race for the only passed pawn", T, "7k/p6p/8/1p6/1Pp5/P2n4/6KP/5R2 b - - 0 1", "c4c3 g2f3 c3c2",
     "f3e3 c2c1q f1c1 d3c1 e3d2 c1a2 d2c2 h8g7 c2b3 a2c1 b3c2 c1e2 c2d3 e2f4 d3e4 f4e6", 3, "c541", kGeneral},
    {"tactics 139: no race for the only passed pawn", T, "8/8/6p1/K4p1p/1P3Pk1/8/1P6/8 b - - 0 1", "h5h4 b4b5 h4h3",
     "a5b6 g4f4 b6a6 h3h2 a6a5 h2h1q a5b4 h1b7 b4c4 b7b8 b2b3 g6g5 c4c5 g5g4 b5b6 g4g3", 3, "c1277",
     "general.pawn-ending " + kGeneral},
    {"tactics 151: no race for the only passed pawn", T, "rnb5/4Bk2/6pP/1p1p1p2/rPnP2N1/6P1/8/1R2R1K1 w - - 0 1", "h6h7",
     "c8e6 h7h8q f7e7 h8f6 e7d7 f6e6 d7c7 g4f6 c4b6 f6d5 b6d5 b1c1 c7b7 e6d5 b7b6 e1e6", 1, "m10",
     "attack.irresistible attack.king-falls attack.mating"},
    {"tactics 59: the king is the move", T, "5bk1/1N6/2p3pp/3b4/1P2NP2/P5PP/6K1/8 w - - 0 1", "g2f3",
     "g8f7 f3e3 f7e7 b7c5 e7d8 c5d3 f8g7 h3h4 g7a1 a3a4 d5b3 a4a5 b3d5 g3g4 d8c7 f4f5", 1, "c432", kGeneralEdge},
    {"tactics 81: the only capture names the rook", T, "8/2rR2Q1/P3qp2/1kp5/1p6/7P/1P3PP1/6K1 w - - 0 1", "d7c7 e6e1 g1h2",
     "e1e5 g7g3 e5g3 f2g3 b5c4 h3h4 c4b5 a6a7 b5b6 c7c5 b6b7 c5b5 b7a7 b5b4 f6f5 b4f4", 3, "c898", kGeneral},
    {"strategy 52: a queen trade is no king attack", S, "7r/3kPpp1/p3pn1p/1q5P/1p6/4B1R1/1PP1QPP1/6K1 w - - 0 1", "e2b5 a6b5 g3g7 d7e7 e3c5",
     "e7e8 g2g4 e6e5 c5d6 e8d7 d6e5 d7e6 e5d4 h8c8 g1g2 c8c2 d4f6 e6f6 g7h7 b4b3 g2g3", 5, "c154", "plan.queen-trade plan.queen-trade-weaknesses"},
    {"strategy 125: a pawn push is no queen trade of the user's", S, "8/2R3pk/2b1p1qp/2p1n3/2P1p3/P5QP/1r3BP1/5RK1 b - - 0 1",
     "e4e3 g3g6 h7g6", "f2e3 b2g2 g1h1 g2e2 c7c6 e5c6", 3, "c0", "plan.queen-trade"},
    {"strategy 114: Rh2 hits the queen", S, "4r2k/2Q5/2p4p/1p3pbP/2n5/P1N5/1Pq5/K5RR w - - 0 1", "h1h2 c4d2 c7c6",
     "e8e7 h2d2 c2d2 c6c8 h8g7 c8f5 e7e1 g1e1 d2e1 a1a2 e1h4 f5e5 g7f8 e5b8 f8g7 b8b7", 3, "c181",
     "plan.win-pawn plan.win-pawn-undefended plan.win-piece-named plan.worst-piece plan.worst-piece-named plan.hit plan.hit-on"},
    {"strategy 85: h7 is never attacked", S, "5k2/p4r1p/3P3q/2p1p3/P1P1N3/8/6QB/7K w - - 0 1", "e4g5 f7d7 g2f3 f8g7 g5e4 d7d6 e4d6",
     "h6d6 f3d5 d6b6 h2e5 g7f8 h1g2 f8e7 e5f4 e7e8 g2f3 b6b3 f3e4 b3a4 d5e6 e8d8 e4d5", 5, "c334", kBestMove},
    {"strategy 24: the trade leaves White worse", S, "2r1r1k1/3bqp2/p2b1n1p/1p1Pp1p1/2p1P3/1PNn1P2/P2N1BPP/1BRQ1RK1 w - - 0 1",
     "b1d3 c4d3 d2b1 b5b4 c3a4 c8c1 d1c1", "e8c8 c1d2 d7a4 b3a4 e7e8 d2d3 e8a4 d3b3 a4b5 b3b2 f6h5 g2g3 g5g4 b2d2 d6f8 d2b2", 5, "c-145",
     "plan.trade"},
    {"strategy 75: a2 the only queenside pawn", S, "6k1/1R1b2pp/p1rq4/Rn3p2/2p1p3/4P3/P1Q2PPP/5NK1 w - - 0 1", "a2a4",
     "b5c7 c2c3 h7h5 c3d4 d6d4 e3d4 c4c3 f1e3 c3c2 e3c2 c6c2 a5c5 c2d2 c5c1 d7a4 b7c7", 1, "c95", "plan.space"},
    {"strategy 105: the only break", S, "7r/p3k2r/1pb2p1B/2p1n3/4P1P1/4K3/PPPRB3/7R w - - 0 1", "g4g5 f6g5 h6g5",
     "e7e6 h1h7 h8h7 b2b3 h7h3 e3f4 h3h1 g5d8 h1h7 a2a4 e5g6 f4f3 e6e5 e2d3 g6f8 d2h2", 3, "c14", kBestMove},
    {"strategy 98: the only break", S, "5rk1/1r4bp/3p4/2pqp1BP/6P1/5P2/R3Q1KN/7R b - - 0 1", "e5e4 f3f4 e4e3 h2f3 h7h6 h1d1 d5e4",
     "e2d3 e4d3 d1d3 h6g5 f4g5 f8e8 a2e2 b7b2 e2b2 g7b2 d3d6 e3e2 g5g6 e2e1n f3e1 e8e1", 5, "c-27", kBestMove},
    {"strategy 83: the only king move to the centre", S, "1r6/6pp/4k3/8/8/1p4PP/4PP2/3R1K2 w - - 0 1", "f1e1",
     "g7g5 d1c1 e6d5 e1d2 d5d4 f2f3 b3b2 c1b1 b8b7 h3h4 g5h4 g3h4 h7h5 e2e3 d4c4 d2c2", 1, "c3", kBestMove},
    {"strategy 185: the only battery", S, "r5k1/1p2bp1p/1P4p1/p3p3/K3P3/2rB1N2/P4PPP/3R3R b - - 0 1", "a8c8 d1c1 c3c1 h1c1 c8c1",
     "f3e5 f7f6 e5c4 c1c3 d3f1 c3c2 a2a3 c2f2 f1d3 f2g2 a4a5 g2h2 e4e5 h2h4 c4d6 f6e5", 5, "c295",
     "plan.open-file plan.win-material plan.win-material-scattered plan.win-piece-named"},
    {"no outpost without a pawn's guard", S, "6k1/pp3ppp/3p4/8/8/2N5/PP3PPP/6K1 w - - 0 1", "c3d5", "", 1, "c100", kBestMove},
    {"no attack from two squares off", S, "r2q2k1/5ppp/4R3/8/8/8/5PPP/3Q2K1 w - - 0 1", "e6e7", "", 1, "c100", kBestMove},
    // The rook steps in front of its king and still guards e5: no deflection.
    {"no deflection where the guard stays", T, "4r3/7k/6pp/4n3/8/2B5/5PPP/3Q2K1 w - - 0 1", "d1d4 h6h5 d4a7 e8e7 c3e5", "", 5, "c300",
     "clearance.free clearance.with-tempo material.combination material.win material.doomed"},
    // The rook on f7 gives itself up on g7: it was not doomed where it stood (tactics 183).
    {"no doom for a piece that went to die", T, "2Q5/p4Rpk/4p2p/1P6/P3q3/2p3PK/3r1P1P/8 b - - 0 1", "d2d5 f7g7 h7g7", "", 3, "c600",
     "material.combination material.win"},
};

TEST(HintCatalogue, EachEntryIsSaidExactlyWhereItHolds)
{
    for (const SaidRow& row : kSaid) {
        const Candidate c = LineOf(row);
        std::string said;
        for (const Hint& h : HintVariants(c, row.tokens, row.kind == TaskKind::Draw))
            said += (said.empty() ? "" : " ") + h.entry;
        EXPECT_EQ(said, row.entries) << row.name;
    }
}

// Whether the attack mates is read from the step of the line's last user move: the first row cut after its fifth,
// with the mate seen there alone or everywhere but there. A line without the engine's scores is read from the board
// alone: the promotion and the material won are not judged.
TEST(HintCatalogue, TheScoresOfTheLastUserMoveOrNone)
{
    for (const bool mateAtTheEnd : {true, false}) {
        Candidate c = LineOf(kSaid[0]);
        for (std::size_t i = 0; i < c.line.steps.size(); ++i)
            c.line.steps[i].after = (i == 4) == mateAtTheEnd ? Score::MateIn(24) : Score::Cp(900);
        std::set<std::string> said;
        for (const Hint& h : HintVariants(c, kSaid[0].tokens, false))
            said.insert(h.entry);
        EXPECT_EQ(said.count("attack.mating"), mateAtTheEnd ? 1u : 0u) << mateAtTheEnd;
    }
    const SaidRow& row = *std::find_if(std::begin(kSaid), std::end(kSaid),
                                       [](const SaidRow& r) { return std::string(r.name) == "passed, breakthrough"; });
    Candidate c = LineOf(row);
    c.line.steps.clear();
    std::string said;
    for (const Hint& h : HintVariants(c, row.tokens, false))
        said += (said.empty() ? "" : " ") + h.entry;
    EXPECT_EQ(said, "passed.queens passed.decides passed.unstoppable breakthrough.decides breakthrough.sacrifice");
}

// Every entry has a row and a name of its own; motif names read back.
TEST(HintCatalogue, EveryEntryHasARowAndANameOfItsOwn)
{
    std::set<std::string> said, names;
    for (const SaidRow& row : kSaid)
        for (const std::string& entry : Words(row.entries))
            said.insert(entry);
    for (const HintEntry& entry : HintCatalogue()) {
        EXPECT_TRUE(said.count(entry.name)) << entry.name;
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
        EXPECT_EQ(FindHintEntry(entry.name), &entry);
    }
    for (int m = static_cast<int>(Motif::None); m <= static_cast<int>(Motif::Plan); ++m)
        EXPECT_EQ(MotifNamed(MotifName(static_cast<Motif>(m))), static_cast<Motif>(m));
    EXPECT_EQ(MotifNamed("не мотив"), Motif::None);
}

// The start and first move against an entry's guard: true where naming the idea would name the move.
struct GuardRow { const char* entry; const char* fen; const char* first; bool givesAway; };

const GuardRow kGuards[] = {
    {"plan.open-file-named", "4rrk1/ppp3pp/8/8/8/8/PP4PP/4R1K1 w - - 0 1", "e1d1", true},  // the one heavy move onto d
    {"plan.open-file-named", "4rrk1/ppp3pp/8/8/8/8/PP4PP/R3R1K1 w - - 0 1", "e1d1", false},
    {"plan.diagonal-named", "3b1k2/1p3pp1/p1n4p/4p3/4P1K1/1BP1B3/PP3P1P/8 w - - 0 1", "b3d5", true},
    {"plan.diagonal-named", "6k1/5ppp/8/8/8/1B6/5P1P/5BK1 w - - 0 1", "b3d5", false},  // Bf1-g2 too
    {"plan.passed-forward", "8/5k2/8/3K2Pp/P5r1/8/R7/8 w - - 0 1", "a4a5", true},  // two passed pawns, a move each
    {"plan.passed-forward", "8/5k2/8/3K2Pp/P5r1/1P6/R7/8 w - - 0 1", "a4a5", false},
    {"plan.passed-wing", "8/5k2/8/3K2Pp/P5r1/1P6/R7/8 w - - 0 1", "a4a5", true},  // two of the three on that wing
    {"plan.passed-wing", "8/5k2/8/8/P1P3r1/1P6/R3K3/8 w - - 0 1", "a4a5", false},
    {"plan.passed-wing", "4k3/8/8/8/8/8/3PP3/4K3 w - - 0 1", "d2d4", false},  // four moves in the centre
    {"plan.seventh", "6k1/5ppp/3R4/8/8/8/5PPP/6K1 w - - 0 1", "d6d7", true},  // the one way in
    {"plan.seventh", "6k1/5ppp/3R4/8/8/8/5PPP/1R4K1 w - - 0 1", "d6d7", false},
    {"plan.seventh", "6k1/1R3ppp/8/8/8/8/5PPP/6K1 w - - 0 1", "b7e7", false},  // already there
    {"plan.king-wing", "6k1/5ppp/8/8/8/8/5PPP/2BK4 w - - 0 1", "d1c2", true},  // c2 the king's one square there
    {"plan.king-wing", "6k1/5ppp/8/8/8/8/5PPP/3K4 w - - 0 1", "d1c2", false},
    {"plan.activate-wing", "6k1/5ppp/8/8/8/8/P4PPP/R3K3 w - - 0 1", "a1d1", true},  // d1 the rook's one square in the centre
    {"plan.activate-wing", "6k1/5ppp/8/8/8/8/P4PPP/R4K2 w - - 0 1", "a1d1", false},
    {"plan.rook-behind", "6k1/8/P7/8/8/8/5PPP/1R4K1 w - - 0 1", "b1a1", true},
    {"plan.rook-behind", "6k1/8/P7/8/8/8/4RPPP/1R4K1 w - - 0 1", "b1a1", false},
    {"king.forward", "8/3k1p2/6p1/4K2p/5P2/6P1/7P/8 w - - 0 1", "e5f6", true},  // f6 the one step forward
    {"king.forward", "8/8/1p1k3p/1P5P/5p2/2PK4/8/8 w - - 0 1", "c3c4", false},
    {"king.forward", "8/8/1p1k3p/1P5P/5p2/2PK4/8/8 w - - 0 1", "d3e4", true},  // the king itself is the move
    {"passed.queens", "6k1/5p2/7p/P7/8/4PK2/1b5P/8 w - - 0 1", "a5a6", true},  // the one passed pawn, one move
    {"passed.queens", "6k1/5p2/7p/P7/1P6/2P1PK2/1b5P/8 w - - 0 1", "a5a6", false},
    {"passed.push", "6k1/5p2/7p/P7/1P6/2P1PK2/1b5P/8 w - - 0 1", "f3e4", false},  // not a pawn push
    {"passed.king-too-far", "6k1/5p2/7p/P7/8/4PK2/1b5P/8 w - - 0 1", "a5a6", true},  // the only passed pawn
    {"passed.king-too-far", "6k1/5p2/7p/P7/2P5/4PK2/1b5P/8 w - - 0 1", "a5a6", false},
    {"king.main-piece", "5bk1/1N6/2p3pp/3b4/1P2NP2/P5PP/6K1/8 w - - 0 1", "g2f3", true},  // the king is the move
    {"king.main-piece", "5bk1/1N6/2p3pp/3b4/1P2NP2/P5PP/6K1/8 w - - 0 1", "b7d6", false},  // Ne4 is pinned
    {"plan.king-to-centre", "1r6/6pp/4k3/8/8/1p4PP/4PP2/3R1K2 w - - 0 1", "f1e1", true},  // e1 the one step in
    {"plan.king-to-centre", "1r6/6pp/4k3/8/8/1p4PP/5P2/3R1K2 w - - 0 1", "f1e1", false},
    {"plan.lever", "7r/p3k2r/1pb2p1B/2p1n3/4P1P1/4K3/PPPRB3/7R w - - 0 1", "g4g5", true},  // b2-b4 only loses a pawn
    {"plan.lever", "6k1/pp3pp1/8/3pp2p/8/1P4PP/P1P2P2/6K1 w - - 0 1", "f2f4", false},
    {"plan.lever-wing", "6k1/pp3ppp/8/3pp3/8/1P4P1/P1P2P1P/6K1 w - - 0 1", "f2f4", true},  // c2-c4 is on the other wing
    {"plan.battery", "r5k1/1p2bp1p/1P4p1/p3p3/K3P3/2rB1N2/P4PPP/3R3R b - - 0 1", "a8c8", true},
    {"plan.battery", "6k1/5ppp/8/8/8/8/3R1PPP/R5K1 w - - 0 1", "a1d1", false},  // Rd2-a2 doubles too
    {"plan.hit", "4k3/8/8/8/3q4/8/7N/4K3 w - - 0 1", "h2f3", true},  // the one move at the queen
    {"plan.hit", "4k3/8/8/8/3q4/8/8/R3K2R w - - 0 1", "a1a4", false},
    {"plan.king-safety", "5rk1/6pp/1q6/8/8/8/5PPP/R2Q2K1 w - - 0 1", "g1h1", true},  // f1 stays on the f-file
    {"plan.king-safety", "5rk1/6pp/1q6/8/8/8/5PP1/R2Q2K1 w - - 0 1", "g1h1", false},
    {"plan.rim-knight", "6k1/5ppp/8/8/8/8/2P2PPP/N5K1 w - - 0 1", "a1b3", true},
    {"plan.rook-lift", "r2q2k1/5ppp/8/8/P7/8/5PPP/R2Q2K1 w - - 0 1", "a1a3", true},  // a4 taken: a3 the one lift
    {"plan.knight-centre", "6k1/5ppp/8/8/8/8/5PPP/1N4K1 w - - 0 1", "b1c3", true},  // d2 and a3 are no centre
    {"plan.rim-knight", "6k1/5ppp/8/8/8/N7/5PPP/6K1 w - - 0 1", "a3c4", false},
    {"plan.space-wing", "6k1/1R1b2pp/p1rq4/Rn3p2/2p1p3/4P3/P1Q2PPP/5NK1 w - - 0 1", "a2a4", true},  // the one queenside pawn
    {"plan.space-wing", "6k1/1R1b2pp/p1rq4/Rn3p2/2p1p3/4P3/PPQ2PPP/5NK1 w - - 0 1", "a2a4", false},
    {"mate.discovered-check", "8/4Nrpk/q6p/5P2/p3B3/8/PP2P2P/3R3K w - - 0 1", "f5f6", true},  // the one discovered check (tactics 25)
    {"discovered-check.decides", "8/4Nrpk/q6p/5P2/p3B3/8/PP2P2P/3R3K w - - 0 1", "d1d8", false},  // it comes later
    {"discovered-check.decides", "7B/8/8/8/3P4/8/8/k6K w - - 0 1", "d4d5", true},  // a king in the corner is checked too
    {"discovered-check.wins", "4k3/8/8/8/4N3/8/8/4R1K1 w - - 0 1", "e4c5", false},  // every knight move uncovers
    {"double-check.decides", "4k3/8/5P2/8/4N3/8/8/4R1K1 w - - 0 1", "e4d6", true},  // f6 is taken: d6 the one double check
    {"mate.double-check", "4k3/8/8/8/4N3/8/8/4R1K1 w - - 0 1", "e4d6", false},  // Nf6+ as well
    {"double-check.no-block", "4k3/8/5P2/8/4N3/8/8/4R1K1 w - - 0 1", "e4c5", false},  // a single discovered check
};

TEST(HintCatalogue, GuardsAgainstGivingTheMoveAwayAreTheJudgesToo)
{
    for (const GuardRow& row : kGuards) {
        const auto root = *fullchess::Position::FromFen(row.fen);
        const HintEntry* entry = FindHintEntry(row.entry);
        ASSERT_TRUE(entry && entry->givesAway) << row.entry;
        EXPECT_EQ(entry->givesAway(root, root.ParseUci(row.first).value()), row.givesAway) << row.entry << " " << row.fen;
        // verify judges by the entry of the record: the same guard.
        EXPECT_EQ(HintProblems("Найдите лучший ход.", root, {row.first}, row.entry).empty(), !row.givesAway) << row.entry;
    }
    const auto root = *fullchess::Position::FromFen(kGuards[0].fen);
    EXPECT_TRUE(HintProblems("Найдите лучший ход.", root, {kGuards[0].first}).empty());  // no entry, no guard
    // Whoever phrased it, a piece called won is not the one the first move takes.
    const auto capture = *fullchess::Position::FromFen("3r2rk/ppN1q1b1/2n3Pp/8/3p1B2/6P1/PPP5/3QR1K1 w - - 0 1");
    EXPECT_FALSE(HintProblems("Выиграйте ферзя черных.", capture, {"e1e7"}).empty());
    EXPECT_TRUE(HintProblems("Выиграйте ладью черных.", capture, {"e1e7"}).empty());
    // A piece called doomed is taken where it stood; the rook that runs to g7 to die was not (tactics 183).
    const auto run = *fullchess::Position::FromFen("2Q5/p4Rpk/4p2p/1P6/P3q3/2p3PK/3r1P1P/8 b - - 0 1");
    EXPECT_FALSE(HintProblems("Ладья белых на f7 обречена.", run, {"d2d5", "f7g7", "h7g7"}).empty());
    const auto stays = *fullchess::Position::FromFen("1r5R/p4kp1/3q2r1/3Pp1Q1/3n4/8/1p4PP/3R3K w - - 0 1");
    EXPECT_TRUE(HintProblems("Ладья черных на b8 обречена.", stays,
                             {"d1f1", "g6f6", "f1f6", "d6f6", "g5f6", "f7f6", "h8b8"}).empty());
}

// The words of hints: capitals of both halves of the Cyrillic alphabet and of Latin, number agreement, wings.
TEST(HintWords, CapitalsPluralsAndWings)
{
    const std::pair<const char*, const char*> capitals[] = {
        {"а", "А"}, {"пешка", "Пешка"}, {"р", "Р"}, {"ядро", "Ядро"}, {"ё", "ё"}, {"Ж", "Ж"}, {"e4", "E4"}, {"z", "Z"}, {"", ""}};
    for (const auto& [word, capital] : capitals)
        EXPECT_EQ(Capitalised(word), capital) << word;
    const std::pair<int, const char*> plurals[] = {{1, "ход"},    {2, "хода"},   {4, "хода"},  {5, "ходов"}, {11, "ходов"},
                                                   {14, "ходов"}, {21, "ход"},   {104, "хода"}, {112, "ходов"}, {0, "ходов"}};
    for (const auto& [n, form] : plurals)
        EXPECT_EQ(Plural(n, "ход", "хода", "ходов"), form) << n;
    EXPECT_EQ(InMoves(1), "в один ход");
    EXPECT_EQ(InMoves(3), "в 3 хода");
    const char* wings[] = {"на ферзевом фланге", "на ферзевом фланге", "на ферзевом фланге", "в центре",
                           "в центре", "на королевском фланге", "на королевском фланге", "на королевском фланге"};
    for (int file = 0; file < 8; ++file)
        EXPECT_EQ(WingPhrase(fullchess::MakeSquare(file, 7 - file)), wings[file]) << file;
}

TEST(HintsByHand, EachWithItsReasonAndUsedForItsLineOnly)
{
    const auto file = std::filesystem::path(MINED_DIR) / "hints-by-hand.tsv";
    const auto hints = ReadWrittenByHand(file);
    const std::string text = Contents(file);  // the exchange entry: rows whose motif is the exchange the line starts with
    std::ifstream rows(file);
    std::size_t written = 0;
    for (std::string row; std::getline(rows, row);)
        written += !row.empty() && row[0] != '#' ? 1 : 0;
    ASSERT_EQ(hints.size(), written);  // every row read, none skipped
    std::set<std::pair<std::string, int>> lines;  // a second hint for a line would never be used
    for (const HandWrittenHint& h : hints) {
        EXPECT_FALSE(h.reason.empty()) << h.hint.text;
        const bool exchange = text.find(h.placement + '\t' + std::to_string(h.tokens) + "\tразмен\t") != std::string::npos;
        EXPECT_EQ(h.hint.entry, exchange ? kEntryByHandExchange : kEntryByHand) << h.hint.text;
        EXPECT_TRUE(h.tokens % 2 == 1) << h.hint.text;
        EXPECT_TRUE(lines.insert({h.placement, h.tokens}).second) << h.hint.text;
    }
    LoadWrittenByHand(file);
    Candidate c;
    c.fen = hints[3].placement + " w - - 0 1";
    const Hint* found = WrittenByHand(c, hints[3].tokens);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->text, hints[3].hint.text);
    EXPECT_EQ(WrittenByHand(c, hints[3].tokens + 2), nullptr);
    LoadWrittenByHand(file.string() + ".missing");  // a folder without hand hints has none
    EXPECT_EQ(WrittenByHand(c, hints[3].tokens), nullptr);
    // A line that lacks a field, or names no motif, is refused with its number.
    const auto bad = std::filesystem::temp_directory_path() / "hints-by-hand-bad.tsv";
    for (const char* line : {"8/8/8/8/8/8/8/K6k\t1\tсвязка\tСвязка решает.\n", "8/8/8/8/8/8/8/K6k\t1\tчепуха\tСвязка решает.\tbecause\n"}) {
        std::ofstream(bad) << "# placement\ttokens\tmotif\thint\treason\n" << line;
        EXPECT_THROW(ReadWrittenByHand(bad), std::runtime_error) << line;
    }
    std::filesystem::remove(bad);
}

} // namespace
