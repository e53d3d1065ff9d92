// The make-up of both collections: every count and form the program and its
// users rely on.
#include "Records.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

namespace {

const std::vector<LoadedRecord>& Tactics()
{
    static const auto records = LoadAll("tactics");
    return records;
}

const std::vector<LoadedRecord>& Strategy()
{
    static const auto records = LoadAll("strategy");
    return records;
}

std::vector<LoadedRecord> Both()
{
    auto all = Tactics();
    all.insert(all.end(), Strategy().begin(), Strategy().end());
    return all;
}

TEST(Collections, EveryNumberHoldsAFullRecord)
{
    for (const auto& r : Both()) {
        SCOPED_TRACE(r.collection + " " + std::to_string(r.number));
        EXPECT_EQ(r.marker, 1);
        EXPECT_FALSE(r.header.empty());
        EXPECT_FALSE(r.position.empty());
        EXPECT_FALSE(r.solution.empty());
        EXPECT_FALSE(r.taskText.empty());
        EXPECT_FALSE(r.hint.empty());
    }
}

TEST(Collections, SideToMoveCounts)
{
    auto count = [](const std::vector<LoadedRecord>& records, const char* side) {
        int n = 0;
        for (const auto& r : records) {
            EXPECT_TRUE(r.sideToMove == "w" || r.sideToMove == "b") << r.number;
            n += r.sideToMove == side ? 1 : 0;
        }
        return n;
    };
    EXPECT_EQ(count(Tactics(), "w"), 147);
    EXPECT_EQ(count(Tactics(), "b"), 78);
    EXPECT_EQ(count(Strategy(), "w"), 107);
    EXPECT_EQ(count(Strategy(), "b"), 82);
}

// The intended make-up by solution length. Long lines in which every move of
// the user is the only good one are rare in real games: where too few sound
// ones were found, their places went to the next shorter length, never the
// other way round.
void ExpectLengths(const std::vector<LoadedRecord>& records, const std::map<int, int>& table)
{
    std::map<int, int> counts;
    for (const auto& r : records) {
        const int n = TokenCount(r.solution);
        EXPECT_TRUE(table.count(n)) << r.number << " has " << n << " tokens";
        ++counts[n];
    }
    int tableFromTop = 0, countFromTop = 0;
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        tableFromTop += it->second;
        countFromTop += counts[it->first];
        EXPECT_LE(countFromTop, tableFromTop) << "more lines of " << it->first << " tokens or longer than intended";
    }
    EXPECT_EQ(countFromTop, tableFromTop);
}

TEST(Collections, TokenCountTables)
{
    ExpectLengths(Tactics(), {{1, 39}, {3, 75}, {5, 67}, {7, 27}, {9, 11}, {11, 4}, {13, 2}});
    ExpectLengths(Strategy(), {{1, 85}, {3, 48}, {5, 35}, {7, 14}, {9, 6}, {15, 1}});
}

TEST(Collections, SolutionLinesAreSpacedTokens)
{
    const std::regex token("[a-h][1-8][-:][a-h][1-8]");
    int trailing = 0;
    for (const auto& r : Both()) {
        SCOPED_TRACE(r.collection + " " + std::to_string(r.number) + " \"" + r.solution + "\"");
        std::string line = r.solution;
        if (!line.empty() && line.back() == ' ') {
            line.pop_back();
            ++trailing;
            EXPECT_EQ(r.collection, "tactics");
        }
        ASSERT_EQ(line.size() % 6, 5u);
        for (std::size_t i = 0; i < line.size(); i += 6) {
            EXPECT_TRUE(std::regex_match(line.substr(i, 5), token));
            if (i + 5 < line.size()) {
                EXPECT_EQ(line[i + 5], ' ');
            }
        }
    }
    EXPECT_EQ(trailing, 8);
}

TEST(Collections, TaskTextTables)
{
    std::map<std::string, int> tactics, strategy;
    for (const auto& r : Tactics())
        ++tactics[r.taskText];
    for (const auto& r : Strategy())
        ++strategy[r.taskText];
    const std::string w = "Ход белых. Найдите оптимальный вариант", b = "Ход черных. Найдите оптимальный вариант";
    EXPECT_EQ(tactics, (std::map<std::string, int>{{w + ".", 142},
                                                   {b + ".", 73},
                                                   {w + ". Сделайте ничью.", 3},
                                                   {b + ". Сделайте ничью.", 3},
                                                   {w + ".  Сделайте ничью.", 1},
                                                   {b + ".  Сделайте ничью.", 1},
                                                   {w + ". Сделайте ничью", 1},
                                                   {b + ". Сделайте ничью", 1}}));
    EXPECT_EQ(strategy, (std::map<std::string, int>{{w + ".", 91}, {b + ".", 81}, {w, 16}, {b, 1}}));
    // The instruction names the side that moves.
    for (const auto& r : Both())
        EXPECT_EQ(r.taskText.rfind(r.sideToMove == "w" ? "Ход белых." : "Ход черных.", 0), 0u) << r.number;
}

TEST(Collections, Headers)
{
    const std::regex header("\\[White \"([^\"]+)\"\\]\r\n\\[Black \"([^\"]+)\"\\]\r\n\\[EventDate \"([0-9]{4})\"\\]");
    // A surname; a surname and a period; a surname, comma, blank and initials
    // or a first name; or an unknown player.
    const std::regex player("NN|N\\.N\\.|[^,\"\\r\\n]+\\.?|[^,\"\\r\\n]+, [^,\"\\r\\n]+");
    std::size_t shortest = 1000, longest = 0;
    for (const auto& r : Both()) {
        SCOPED_TRACE(r.collection + " " + std::to_string(r.number));
        std::smatch m;
        ASSERT_TRUE(std::regex_match(r.header, m, header)) << r.header;
        EXPECT_TRUE(std::regex_match(m[1].str(), player)) << m[1];
        EXPECT_TRUE(std::regex_match(m[2].str(), player)) << m[2];
        const int year = std::stoi(m[3].str());
        EXPECT_TRUE(year == 0 || (year >= 1858 && year <= 2008)) << year;
        shortest = std::min(shortest, Utf8Length(r.header));
        longest = std::max(longest, Utf8Length(r.header));
    }
    EXPECT_GE(shortest, 46u);
    EXPECT_LE(longest, 76u);
}

TEST(Collections, PositionsAndTheOneWholeFenRecord)
{
    int whole = 0;
    for (const auto& r : Both()) {
        SCOPED_TRACE(r.collection + " " + std::to_string(r.number));
        std::string placement = r.position;
        if (const auto space = placement.find(' '); space != std::string::npos) {
            ++whole;
            EXPECT_EQ(r.collection, "tactics");
            EXPECT_EQ(r.position, "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 9");
            placement.resize(space);
        } else {
            EXPECT_GE(r.position.size(), 24u);
            EXPECT_LE(r.position.size(), 62u);
        }
        int ranks = 1, squares = 0;
        for (char c : placement) {
            if (c == '/') {
                EXPECT_EQ(squares, 8);
                ++ranks;
                squares = 0;
            } else if (c >= '1' && c <= '8') {
                squares += c - '0';
            } else {
                EXPECT_NE(std::string("pnbrqkPNBRQK").find(c), std::string::npos) << c;
                ++squares;
            }
        }
        EXPECT_EQ(squares, 8);
        EXPECT_EQ(ranks, 8);
    }
    EXPECT_EQ(whole, 1);
}

TEST(Collections, DrawTestsOnlyInTactics)
{
    int draws = 0;
    for (const auto& r : Tactics())
        draws += r.taskText.find("Сделайте ничью") != std::string::npos ? 1 : 0;
    EXPECT_EQ(draws, 10);
    for (const auto& r : Strategy())
        EXPECT_EQ(r.taskText.find("ничью"), std::string::npos) << r.number;
}

TEST(Collections, Hints)
{
    auto check = [](const std::vector<LoadedRecord>& records, std::size_t low, std::size_t high, std::size_t distinct) {
        std::map<std::string, int> uses;
        for (const auto& r : records) {
            const auto n = Utf8Length(r.hint);
            EXPECT_GE(n, low) << r.number << " " << r.hint;
            EXPECT_LE(n, high) << r.number << " " << r.hint;
            ++uses[r.hint];
        }
        EXPECT_EQ(uses.size(), distinct);
        return uses;
    };
    const auto tactics = check(Tactics(), 14, 143, 175);
    check(Strategy(), 13, 254, 114);
    EXPECT_EQ(tactics.at("Поставьте мат с жертвой."), 12);
    EXPECT_EQ(tactics.at("Проведите пешку в ферзи."), 6);
    EXPECT_EQ(tactics.at("Сделайте ничью патом."), 5);
    for (const auto& [hint, n] : tactics)
        if (hint != "Поставьте мат с жертвой." && hint != "Проведите пешку в ферзи." && hint != "Сделайте ничью патом.") {
            EXPECT_LT(n, 5) << hint;
        }
    // Stalemate is the hint of draw tests only.
    for (const auto& r : Tactics())
        if (r.hint == "Сделайте ничью патом.") {
            EXPECT_NE(r.taskText.find("Сделайте ничью"), std::string::npos) << r.number;
        }
}

} // namespace
