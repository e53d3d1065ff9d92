// The two collections as the program and its users rely on them: their
// names and sizes, LoadTask and the make-up of the tests, read with the
// core's notation. That every test is legal chess the program's own move
// rules can play is checked with the offline tool's chess rules, in
// tests/tools/.
#include "Collections.h"
#include "Notation.h"
#include "TaskData.h"
#include "Unit2.h"
#include "Unitstrategy.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace {

struct Loaded {
    bool tactics;
    int number;
    std::string header, position, side, solution, text, hint;
    int marker;
};

template <typename Record>
Loaded Load(int number)
{
    Record r;
    r.LoadTask(number);
    return {std::is_same_v<Record, TPart>, number, r.header, r.position, r.sideToMove, r.solution, r.taskText,
            r.hint, r.marker};
}

const std::vector<Loaded>& All()
{
    static const std::vector<Loaded> all = [] {
        std::vector<Loaded> v;
        for (int n = 1; n <= kTacticsCount; ++n)
            v.push_back(Load<TPart>(n));
        for (int n = 1; n <= kStrategyCount; ++n)
            v.push_back(Load<TPartstr>(n));
        return v;
    }();
    return all;
}

TEST(Collections, NamesSizesAndLoadTask)
{
    EXPECT_EQ(TacticsTasks().size(), 225u);
    EXPECT_EQ(StrategyTasks().size(), 189u);
    EXPECT_EQ(CollectionSize(1), 225);
    EXPECT_EQ(CollectionSize(2), 189);
    EXPECT_EQ(CollectionSize(0) + CollectionSize(3), 0);
    EXPECT_EQ(BaseName(1) + BaseName(2) + BaseName(3), "ТактикаСтратегия");
    EXPECT_EQ(CaptionForBase(1), "Tresolvin Тактика");
    EXPECT_EQ(CaptionForBase(2), "Tresolvin Стратегия");
    EXPECT_EQ(CaptionForBase(0), "Tresolvin");
    // Outside its collection a number changes nothing.
    for (int number : {0, -5, 226, INT32_MIN, INT32_MAX}) {
        TPart t;
        t.LoadTask(17);
        const std::string kept = t.header + t.solution;
        t.LoadTask(number);
        EXPECT_EQ(t.header + t.solution, kept) << number;
        EXPECT_EQ(Load<TPart>(number).marker + Load<TPartstr>(number == 226 ? 190 : number).marker, 0) << number;
    }
    for (const Loaded& r : All()) {
        EXPECT_EQ(r.marker, 1) << r.number;
        EXPECT_FALSE(r.header.empty() || r.position.empty() || r.text.empty() || r.hint.empty()) << r.number;
    }
    const Loaded example = Load<TPart>(1), draw = Load<TPart>(2);
    EXPECT_EQ(example.position + " " + example.side + " " + example.solution,
              "r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1 w f5-h6 g7:h6 g5:f6");
    EXPECT_EQ(example.hint, "Попробуйте выиграть на связке.");
    EXPECT_EQ(draw.text + " " + draw.solution, "Ход белых. Найдите оптимальный вариант. Сделайте ничью. h3-h4");
}

TEST(Collections, MakeUp)
{
    std::map<std::string, int> sides, texts[2];
    int trailing = 0, whole = 0;
    const std::regex header("\\[White \"([^\"]+)\"\\]\r\n\\[Black \"([^\"]+)\"\\]\r\n\\[EventDate \"([0-9]{4})\"\\]");
    for (const Loaded& r : All()) {
        SCOPED_TRACE((r.tactics ? "tactics " : "strategy ") + std::to_string(r.number));
        ++sides[(r.tactics ? "t" : "s") + r.side];
        ++texts[r.tactics][r.text];
        EXPECT_EQ(r.text.rfind(r.side == "w" ? "Ход белых." : "Ход черных.", 0), 0u);
        // Lines are tokens joined by single blanks, at most one trailing.
        const std::vector<std::string> tokens = LineTokens(r.solution);
        trailing += r.solution.back() == ' ';
        EXPECT_EQ(JoinTokens(tokens) + (r.solution.back() == ' ' ? " " : ""), r.solution);
        for (const std::string& token : tokens)
            EXPECT_TRUE(ParseToken(token).has_value()) << token;
        EXPECT_TRUE(std::regex_match(r.header, header)) << r.header;
        whole += r.position.find(' ') != std::string::npos;
    }
    EXPECT_EQ(sides, (std::map<std::string, int>{{"tw", 147}, {"tb", 78}, {"sw", 107}, {"sb", 82}}));
    // Tactics lines by length in tokens.
    std::map<std::size_t, int> lengths;
    for (const Loaded& r : All())
        if (r.tactics)
            ++lengths[LineTokens(r.solution).size()];
    EXPECT_EQ(lengths, (std::map<std::size_t, int>{{1, 39}, {3, 75}, {5, 67}, {7, 27}, {9, 11}, {11, 4}, {13, 2}}));
    EXPECT_EQ(trailing, 8);
    EXPECT_EQ(whole, 1);
    // Ten draw tests, all in tactics, named in the instruction.
    int draws = 0;
    for (const auto& [text, n] : texts[1])
        draws += text.find("Сделайте ничью") != std::string::npos ? n : 0;
    EXPECT_EQ(draws, 10);
    EXPECT_EQ(texts[0].size(), 4u);
    // Hints repeat, but no hint besides the three named ones stands on more
    // than four tests.
    std::map<std::string, int> hints[2];
    for (const Loaded& r : All())
        ++hints[r.tactics][r.hint];
    EXPECT_EQ(hints[1].size(), 175u);
    EXPECT_EQ(hints[0].size(), 114u);
    EXPECT_EQ(hints[1]["Поставьте мат с жертвой."], 12);
    EXPECT_EQ(hints[1]["Проведите пешку в ферзи."], 6);
    for (const auto& collection : hints)
        for (const auto& [hint, n] : collection)
            EXPECT_TRUE(n <= 4 || hint == "Поставьте мат с жертвой." || hint == "Проведите пешку в ферзи."
                        || hint == "Сделайте ничью патом.") << hint << " on " << n;
}

} // namespace
