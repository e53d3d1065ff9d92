// Talking to the engine: info lines, scores, the handshake, failures.
#include "EngineSession.h"
#include "Uci.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

namespace {

struct InfoRow { const char* name; const char* line; bool parsed; Score score; int multipv; bool bound; const char* firstMove; };

const InfoRow kInfo[] = {
    {"centipawns", "info depth 20 seldepth 26 multipv 1 score cp 510 nodes 2001392 nps 1099665 pv f5h6 g7h6", true,
     Score::Cp(510), 1, false, "f5h6"},
    {"second_line", "info depth 20 multipv 2 score cp -314 nodes 100 pv f2f4 e5e7", true, Score::Cp(-314), 2, false,
     "f2f4"},
    {"mate", "info depth 9 multipv 1 score mate 3 nodes 100 pv h5h7 g8f8 h7h8", true, Score::MateIn(3), 1, false,
     "h5h7"},
    {"mated", "info depth 9 score mate -2 nodes 100 pv g8f8", true, Score::MateIn(-2), 1, false, "g8f8"},
    {"lower_bound", "info depth 12 multipv 1 score cp 80 lowerbound nodes 100 pv a2a3", true, Score::Cp(80), 1, true,
     "a2a3"},
    {"wdl_is_skipped", "info depth 5 score cp 12 wdl 400 500 100 pv c2c4", true, Score::Cp(12), 1, false, "c2c4"},
    {"no_score", "info depth 5 currmove e2e4 currmovenumber 1", false, {}, 0, false, ""},
    {"string", "info string NNUE evaluation using nn.nnue enabled", false, {}, 0, false, ""},
    {"not_info", "bestmove e2e4", false, {}, 0, false, ""},
    {"bad_number", "info depth x score cp 10 pv e2e4", false, {}, 0, false, ""},
    {"bad_score_kind", "info score wdl 10 pv e2e4", false, {}, 0, false, ""},
    {"score_without_value", "info depth 3 score cp", false, {}, 0, false, ""},
};

class InfoParsing : public testing::TestWithParam<InfoRow> {};

TEST_P(InfoParsing, ReadsTokens)
{
    const auto& row = GetParam();
    const auto info = ParseInfo(row.line);
    ASSERT_EQ(info.has_value(), row.parsed);
    if (!row.parsed)
        return;
    EXPECT_EQ(*info->score, row.score);
    EXPECT_EQ(info->multipv.value_or(1), row.multipv);
    EXPECT_EQ(info->bound, row.bound);
    ASSERT_FALSE(info->pv.empty());
    EXPECT_EQ(info->pv.front(), row.firstMove);
}

INSTANTIATE_TEST_SUITE_P(Table, InfoParsing, testing::ValuesIn(kInfo),
                         [](const auto& info) { return std::string(info.param.name); });

// Which lines of a search are used: both lines of a comparison from one
// finished iteration, never a bound.
struct IterationRow {
    const char* name;
    std::vector<const char*> info;
    int multiPv;
    std::vector<int> scores;  // centipawns of the lines taken
};

const IterationRow kIterations[] = {
    {"bound_lines_ignored",
     {"info depth 8 multipv 1 score cp 60 pv a2a3", "info depth 8 multipv 2 score cp 20 pv b2b3",
      "info depth 9 multipv 1 score cp 55 pv a2a3", "info depth 9 multipv 2 score cp 15 pv b2b3",
      "info depth 10 multipv 1 score cp 90 lowerbound pv a2a3", "info depth 10 multipv 2 score cp 40 upperbound pv b2b3",
      "info depth 11 multipv 1 score cp 58 pv a2a3"},
     2, {55, 15}},
    {"second_line_of_a_stopped_iteration_left_out",
     {"info depth 8 multipv 1 score cp 60 pv a2a3", "info depth 8 multipv 2 score cp 20 pv b2b3",
      "info depth 9 multipv 1 score cp 55 pv a2a3", "info depth 9 multipv 2 score cp 50 pv c2c3"},
     2, {60, 20}},
    {"one_line_takes_the_deepest", {"info depth 8 score cp 60 pv a2a3", "info depth 9 score cp 45 pv a2a3"}, 1, {45}},
    {"fewer_moves_than_lines", {"info depth 8 multipv 1 score cp 60 pv a2a3", "info depth 9 multipv 1 score cp 61 pv a2a3"},
     2, {61}},
};

class IterationChoice : public testing::TestWithParam<IterationRow> {};

TEST_P(IterationChoice, TakesOneFinishedIteration)
{
    std::vector<InfoLine> infos;
    for (const char* line : GetParam().info)
        infos.push_back(*ParseInfo(line));
    std::vector<int> scores;
    for (const PvLine& line : ChooseLines(infos, GetParam().multiPv))
        scores.push_back(line.score.value);
    EXPECT_EQ(scores, GetParam().scores);
}

INSTANTIATE_TEST_SUITE_P(Table, IterationChoice, testing::ValuesIn(kIterations),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Score, WinChanceAndOrder)
{
    EXPECT_TRUE(Score::MateIn(7).WinChance() == 1.0 && Score::MateIn(-1).WinChance() == -1.0 && Score::MateIn(0).WinChance() == -1.0);
    EXPECT_TRUE(Score::MateIn(0).Mated() && Score::MateIn(-2).Mated() && !Score::MateIn(2).Mated() && !Score::Cp(-900).Mated());
    // Shorter mates are better, any mate beats any centipawn score.
    EXPECT_GT(Score::MateIn(1).Rank(), Score::MateIn(5).Rank());
    EXPECT_GT(Score::MateIn(5).Rank(), Score::Cp(5000).Rank());
    EXPECT_LT(Score::MateIn(-1).Rank(), Score::MateIn(-5).Rank());
    EXPECT_LT(Score::MateIn(-5).Rank(), Score::Cp(-5000).Rank());
    EXPECT_EQ(Score::MateIn(3).Negated(), Score::MateIn(-3));
}

// An engine that answers from a script: each written command may queue lines.
class ScriptedIo : public EngineIo {
public:
    std::vector<std::string> written;
    std::deque<std::string> pending;

    bool WriteLine(const std::string& line) override
    {
        written.push_back(line);
        if (line == "uci") {
            pending.push_back("id name scripted");
            pending.push_back("uciok");
        } else if (line == "isready") {
            pending.push_back("readyok");
        } else if (line.rfind("go", 0) == 0) {
            for (const auto& l : script)
                pending.push_back(l);
        }
        return true;
    }
    Read ReadLine(std::string& line, std::chrono::milliseconds) override
    {
        if (pending.empty())
            return Read::Timeout;
        line = pending.front();
        pending.pop_front();
        return Read::Line;
    }
    std::vector<std::string> script;
};

TEST(UciEngine, HandshakeSetsOptionsAndAnalysisKeepsExactLines)
{
    auto io = std::make_unique<ScriptedIo>();
    ScriptedIo* raw = io.get();
    raw->script = {"info depth 1 multipv 1 score cp 10 pv e2e4", "info depth 2 multipv 1 score cp 50 upperbound pv d2d4",
                   "info depth 2 multipv 2 score cp -20 pv g1f3", "bestmove e2e4"};
    UciEngine engine(std::move(io), {});
    ASSERT_EQ(engine.Start(), EngineError::None);
    Analysis analysis;
    ASSERT_EQ(engine.Analyse("4k3/8/8/8/8/8/8/4K3 w - - 0 1", {"e1e2"}, 1000, 2, analysis), EngineError::None);
    ASSERT_EQ(analysis.lines.size(), 2u);
    EXPECT_EQ(analysis.lines[0].score, Score::Cp(10));  // the bound did not replace the exact score
    EXPECT_EQ(analysis.lines[1].score, Score::Cp(-20));
    EXPECT_EQ(analysis.bestMove, "e2e4");
    const auto& w = raw->written;
    for (const char* command : {"setoption name Threads value 1", "setoption name MultiPV value 2", "ucinewgame",
                                "position fen 4k3/8/8/8/8/8/8/4K3 w - - 0 1 moves e1e2", "go nodes 1000"})
        EXPECT_NE(std::find(w.begin(), w.end(), command), w.end()) << command;
}

// Starts an engine that answers `go` from the script and runs one search.
EngineError Search(std::vector<std::string> script, int multiPv, Analysis& analysis)
{
    auto io = std::make_unique<ScriptedIo>();
    io->script = std::move(script);
    UciEngine engine(std::move(io), {});
    EXPECT_EQ(engine.Start(), EngineError::None);
    return engine.Analyse("4k3/8/8/8/8/8/PP6/4K3 w - - 0 1", {}, 1000, multiPv, analysis);
}

// A search stopped in its last iteration: the first choice is the one of the
// iteration the scores come from, not the move the unfinished one preferred.
TEST(UciEngine, FirstChoiceComesFromTheIterationOfTheScores)
{
    Analysis analysis;
    ASSERT_EQ(Search({"info depth 8 multipv 1 score cp 60 pv a2a3", "info depth 8 multipv 2 score cp 10 pv b2b3",
                      "info depth 9 multipv 1 score cp 70 pv b2b3", "info depth 9 multipv 2 score cp 60 pv a2a3",
                      "bestmove b2b3"},
                     2, analysis),
              EngineError::None);
    EXPECT_EQ(analysis.bestMove, "a2a3");
    EXPECT_EQ(analysis.lines[1].score, Score::Cp(10));
}

// A score without a line (engines report such infos between iterations) is no
// line to keep; only a mated side's score comes without one.
TEST(UciEngine, InfoWithoutALineIsNoLine)
{
    Analysis analysis;
    ASSERT_EQ(Search({"info depth 1 multipv 1 score cp 10 pv e2e4", "info depth 2 multipv 1 score cp 90 nodes 400",
                      "info depth 2 multipv 1 score mate 3 nodes 500", "bestmove e2e4"},
                     1, analysis),
              EngineError::None);
    ASSERT_EQ(analysis.lines.size(), 1u);
    EXPECT_EQ(analysis.lines[0].score, Score::Cp(10));
    EXPECT_EQ(analysis.lines[0].pv, (std::vector<std::string>{"e2e4"}));
    Analysis mated;
    ASSERT_EQ(Search({"info depth 0 score mate 0", "bestmove (none)"}, 2, mated), EngineError::None);
    EXPECT_EQ(mated.bestMove, "(none)");
    ASSERT_EQ(mated.lines.size(), 1u);
    EXPECT_EQ(mated.lines[0].score, Score::MateIn(0));
}

// The same protocol against a real child process.
class FakeEngineProcess : public testing::Test {
protected:
    void SetUp() override
    {
        m_modeFile = std::filesystem::temp_directory_path() / ("fake-engine-mode-" + std::to_string(::getpid()));
        ::setenv("FAKE_ENGINE_MODE_FILE", m_modeFile.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove(m_modeFile); }
    void Mode(const char* mode) { std::ofstream(m_modeFile) << mode << "\n"; }
    std::filesystem::path m_modeFile;
};

TEST_F(FakeEngineProcess, NormalSearchAndCrash)
{
    Mode("normal");
    UciEngine engine(StartProcess(FAKE_ENGINE), {});
    ASSERT_EQ(engine.Start(), EngineError::None);
    Analysis analysis;
    ASSERT_EQ(engine.Analyse("4k3/8/8/8/8/8/8/4K3 w - - 0 1", {}, 100, 2, analysis), EngineError::None);
    EXPECT_EQ(analysis.bestMove, "e2e4");
    ASSERT_EQ(analysis.lines.size(), 2u);
    EXPECT_EQ(analysis.lines[0].score, Score::Cp(30));
    EXPECT_EQ(analysis.lines[0].pv, (std::vector<std::string>{"e2e4", "e7e5"}));
    Mode("crash");
    UciEngine crashing(StartProcess(FAKE_ENGINE), {});
    ASSERT_EQ(crashing.Start(), EngineError::None);
    EXPECT_EQ(crashing.Analyse("4k3/8/8/8/8/8/8/4K3 w - - 0 1", {}, 100, 1, analysis), EngineError::Crashed);
    ::usleep(100000);  // the dead engine's input is closed by now: a new search fails on its first write
    EXPECT_EQ(crashing.Analyse("4k3/8/8/8/8/8/8/4K3 w - - 0 1", {}, 100, 1, analysis), EngineError::Crashed);
}

TEST_F(FakeEngineProcess, StalledSearchAndMuteHandshakeTimeOut)
{
    Mode("stall");
    UciEngine::Options quick;
    quick.searchTimeout = std::chrono::milliseconds(300);
    UciEngine stalled(StartProcess(FAKE_ENGINE), quick);
    ASSERT_EQ(stalled.Start(), EngineError::None);
    Analysis analysis;
    EXPECT_EQ(stalled.Analyse("4k3/8/8/8/8/8/8/4K3 w - - 0 1", {}, 100, 1, analysis), EngineError::Timeout);

    Mode("mute");
    quick.handshakeTimeout = std::chrono::milliseconds(300);
    UciEngine mute(StartProcess(FAKE_ENGINE), quick);
    EXPECT_EQ(mute.Start(), EngineError::Timeout);
}

// Closing a session leaves no process behind: an engine slow to leave is
// waited for, one that never leaves is killed; either way it is reaped.
TEST_F(FakeEngineProcess, LeavesNoProcessBehind)
{
    const auto pidFile = m_modeFile.string() + ".pid";
    ::setenv("FAKE_ENGINE_PID_FILE", pidFile.c_str(), 1);
    for (const char* mode : {"linger", "deaf"}) {
        Mode(mode);
        {
            UciEngine engine(StartProcess(FAKE_ENGINE), {});
            ASSERT_EQ(engine.Start(), EngineError::None) << mode;
        }
        pid_t pid = 0;
        std::ifstream(pidFile) >> pid;
        ASSERT_GT(pid, 0) << mode;
        errno = 0;
        EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1) << mode;
        EXPECT_EQ(errno, ECHILD) << mode;
    }
    ::unsetenv("FAKE_ENGINE_PID_FILE");
    std::filesystem::remove(pidFile);
}

// The tools' session: one search's lines as an answer, and an engine that
// dies started once more before the search is given up.
TEST_F(FakeEngineProcess, SessionAnswersAndRestartsADeadEngineOnce)
{
    Mode("normal");
    EngineSession session(FAKE_ENGINE);
    EngineAnswer answer;
    ASSERT_TRUE(session.WithNodes(100)("4k3/8/8/8/8/8/8/4K3 w - - 0 1", {}, 2, answer));
    EXPECT_EQ(answer.bestMove, "e2e4");
    EXPECT_EQ(answer.scores, (std::vector<Score>{Score::Cp(30), Score::Cp(-5)}));
    EXPECT_EQ(answer.moves, (std::vector<std::string>{"e2e4", "g1f3"}));
    EXPECT_EQ(answer.pv, (std::vector<std::string>{"e2e4", "e7e5"}));
    Mode("crash");
    EngineSession dying(FAKE_ENGINE);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(dying.WithNodes(100)("4k3/8/8/8/8/8/8/4K3 w - - 0 1", {}, 1, answer));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;  // two attempts, each restarting
}

TEST(StartProcess, MissingProgramGivesNull)
{
    EXPECT_EQ(StartProcess("/nonexistent/engine-program"), nullptr);
}

} // namespace
