// The JSON lines of `dump`: one record a line, UTF-8, escapes where JSON needs them.
#include "Commands.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> DumpLines()
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(CommandDump({}), 0);
    std::istringstream out(testing::internal::GetCapturedStdout());
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(out, line))
        lines.push_back(line);
    return lines;
}

TEST(Dump, FirstRecordIsTheWorkedExample)
{
    const auto lines = DumpLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(),
              "{\"collection\":\"tactics\",\"number\":1,"
              "\"header\":\"[White \\\"N.N.\\\"]\\r\\n[Black \\\"N.N.\\\"]\\r\\n[EventDate \\\"1945\\\"]\","
              "\"position\":\"r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1\",\"sideToMove\":\"w\","
              "\"solution\":\"f5-h6 g7:h6 g5:f6\",\"taskText\":\"Ход белых. Найдите оптимальный вариант.\","
              "\"hint\":\"Попробуйте выиграть на связке.\",\"marker\":1}");
}

TEST(Dump, OneLinePerRecordInCollectionOrder)
{
    const auto lines = DumpLines();
    int tactics = 0, strategy = 0, lastNumber = 0;
    std::string lastCollection = "tactics";
    for (const auto& line : lines) {
        const bool isTactics = line.rfind("{\"collection\":\"tactics\",", 0) == 0;
        const bool isStrategy = line.rfind("{\"collection\":\"strategy\",", 0) == 0;
        ASSERT_TRUE(isTactics || isStrategy) << line;
        EXPECT_EQ(line.back(), '}');
        const auto at = line.find("\"number\":") + 9;
        const int number = std::stoi(line.substr(at));
        if (isStrategy && lastCollection == "tactics")
            lastNumber = 0;
        EXPECT_EQ(number, lastNumber + 1) << line;
        lastNumber = number;
        lastCollection = isTactics ? "tactics" : "strategy";
        (isTactics ? tactics : strategy)++;
        // No raw control character may reach the output.
        for (unsigned char c : line)
            EXPECT_GE(c, 0x20);
    }
    EXPECT_EQ(tactics, 225);
    EXPECT_EQ(strategy, 189);
}

} // namespace
