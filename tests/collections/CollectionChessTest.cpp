// Every test is legal chess as the program's rules can show it, and the
// collections come from many different games.
#include "Records.h"
#include "chess/Position.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

using fullchess::Position;

namespace {

std::vector<LoadedRecord> Both()
{
    auto all = LoadAll("tactics");
    auto strategy = LoadAll("strategy");
    all.insert(all.end(), strategy.begin(), strategy.end());
    return all;
}

Position Root(const LoadedRecord& r)
{
    const std::string placement = r.position.substr(0, r.position.find(' '));
    const auto p = Position::FromFen(placement + " " + r.sideToMove + " - - 0 1");
    EXPECT_TRUE(p) << r.position;
    return p ? *p : Position();
}

TEST(CollectionChess, PositionsAreLegal)
{
    for (const auto& r : Both()) {
        SCOPED_TRACE(r.collection + " " + std::to_string(r.number));
        const Position p = Root(r);
        EXPECT_EQ(p.Count(true)[fullchess::King], 1);
        EXPECT_EQ(p.Count(false)[fullchess::King], 1);
        // The side not to move is not in check.
        int king = -1;
        for (int sq = 0; sq < 64; ++sq)
            if (p.At(sq) == (p.WhiteToMove() ? -fullchess::King : fullchess::King))
                king = sq;
        ASSERT_GE(king, 0);
        EXPECT_FALSE(p.Attacked(king, p.WhiteToMove()));
        for (int file = 0; file < 8; ++file) {
            EXPECT_NE(std::abs(p.At(fullchess::MakeSquare(file, 0))), fullchess::Pawn);
            EXPECT_NE(std::abs(p.At(fullchess::MakeSquare(file, 7))), fullchess::Pawn);
        }
    }
}

TEST(CollectionChess, EveryTokenIsALegalPlainMove)
{
    for (const auto& r : Both()) {
        SCOPED_TRACE(r.collection + " " + std::to_string(r.number) + " " + r.solution);
        Position p = Root(r);
        std::istringstream in(r.solution);
        std::string token;
        int count = 0;
        while (in >> token) {
            ++count;
            ASSERT_EQ(token.size(), 5u);
            const auto move = p.ParseUci(token.substr(0, 2) + token.substr(3, 2));
            ASSERT_TRUE(move) << token << " is not legal";
            EXPECT_FALSE(move->castling) << token;
            EXPECT_FALSE(move->promotion) << token;
            EXPECT_FALSE(move->enPassant) << token;
            EXPECT_EQ(token[2] == ':', move->capture) << token;
            EXPECT_NE(std::abs(p.At(move->to)), fullchess::King) << token;
            p.Play(*move);
        }
        EXPECT_EQ(count % 2, 1);
    }
}

TEST(CollectionChess, OneMoveStrategyTestsAreQuiet)
{
    for (const auto& r : LoadAll("strategy")) {
        // The worked example (number 1) stands as given: its pawn move checks.
        if (TokenCount(r.solution) != 1 || r.number == 1)
            continue;
        const Position p = Root(r);
        const auto move = p.ParseUci(r.solution.substr(0, 2) + r.solution.substr(3, 2));
        ASSERT_TRUE(move) << r.number;
        EXPECT_FALSE(move->capture) << r.number << " " << r.solution;
        EXPECT_FALSE(p.After(*move).InCheck()) << r.number << " " << r.solution;
    }
}

TEST(CollectionChess, NoPositionTwice)
{
    std::set<std::string> seen;
    for (const auto& r : Both())
        EXPECT_TRUE(seen.insert(r.position.substr(0, r.position.find(' ')) + r.sideToMove).second)
            << r.collection << " " << r.number;
}

// The provenance list: one line per record naming its game.
struct Source {
    std::string collection, white, black, event, game;
    int number = 0, year = 0;
};

std::vector<Source> Provenance()
{
    std::ifstream in(PROVENANCE_FILE);
    std::vector<Source> out;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t'))
            f.push_back(field);
        if (f.size() != 8)
            continue;
        Source s;
        s.collection = f[0];
        s.number = std::stoi(f[1]);
        s.white = f[2];
        s.black = f[3];
        s.event = f[4];
        s.year = std::stoi(f[5]);
        s.game = f[7];
        out.push_back(s);
    }
    return out;
}

TEST(Provenance, EveryRecordIsTracedToItsOwnGame)
{
    const auto sources = Provenance();
    ASSERT_EQ(sources.size(), 225u + 189u);
    std::set<std::string> games;
    std::map<std::string, int> eras;
    for (const auto& s : sources) {
        if (s.game == "worked example" || s.game.rfind("fixed#", 0) == 0)
            continue;
        EXPECT_TRUE(games.insert(s.game).second) << s.game << " is used twice";
        ++eras[s.game.substr(0, s.game.find('#'))];
    }
    // Spread over the nine era files of the corpus.
    EXPECT_EQ(eras.size(), 9u);
    for (const auto& [era, n] : eras)
        EXPECT_GE(n, 15) << era;
}

TEST(Provenance, HeadersNameTheGamesPlayersAndYear)
{
    const auto sources = Provenance();
    for (const auto& s : sources) {
        if (s.game == "worked example")
            continue;
        std::string header;
        if (s.collection == "tactics") {
            TPart t;
            t.LoadTask(s.number);
            header = t.header;
        } else {
            TPartstr t;
            t.LoadTask(s.number);
            header = t.header;
        }
        const std::string surname = s.white.substr(0, s.white.find_first_of(", "));
        EXPECT_NE(header.find("[White \"" + surname), std::string::npos) << header << " / " << s.white;
        char year[8];
        std::snprintf(year, sizeof year, "%04d", s.year);
        EXPECT_NE(header.find(std::string("[EventDate \"") + year + "\"]"), std::string::npos) << header;
    }
}

} // namespace
