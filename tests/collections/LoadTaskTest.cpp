// LoadTask: numbering, untouched records, the worked examples.
#include "Records.h"

#include <gtest/gtest.h>

namespace {

template <typename Record>
void ExpectEmpty(const Record& r)
{
    EXPECT_TRUE(r.header.empty());
    EXPECT_TRUE(r.position.empty());
    EXPECT_TRUE(r.sideToMove.empty());
    EXPECT_TRUE(r.solution.empty());
    EXPECT_TRUE(r.taskText.empty());
    EXPECT_TRUE(r.hint.empty());
    EXPECT_EQ(r.marker, 0);
}

TEST(LoadTask, NumbersOutsideTheCollectionChangeNothing)
{
    for (int number : {0, -5, 226, 1000, INT32_MIN, INT32_MAX}) {
        TPart t;
        t.LoadTask(number);
        ExpectEmpty(t);
    }
    for (int number : {0, -5, 190, INT32_MIN}) {
        TPartstr s;
        s.LoadTask(number);
        ExpectEmpty(s);
    }
}

TEST(LoadTask, OutOfRangeKeepsWhatTheRecordHeld)
{
    TPart t;
    t.LoadTask(17);
    TPart copy = t;
    t.LoadTask(226);
    t.LoadTask(0);
    EXPECT_EQ(t.header, copy.header);
    EXPECT_EQ(t.solution, copy.solution);
    EXPECT_EQ(t.hint, copy.hint);
    EXPECT_EQ(t.marker, 1);
    TPartstr s;
    s.LoadTask(17);
    const std::string position = s.position;
    s.LoadTask(190);
    EXPECT_EQ(s.position, position);
}

TEST(LoadTask, SameNumberTwiceAndTheTwoCollectionsDiffer)
{
    TPart a, b;
    a.LoadTask(100);
    b.LoadTask(100);
    EXPECT_EQ(a.position, b.position);
    EXPECT_EQ(a.solution, b.solution);
    TPartstr s;
    s.LoadTask(1);
    TPart t;
    t.LoadTask(1);
    EXPECT_NE(s.position, t.position);
}

TEST(LoadTask, LaterLoadReplacesEveryField)
{
    TPart t;
    t.LoadTask(5);
    t.LoadTask(6);
    TPart fresh;
    fresh.LoadTask(6);
    EXPECT_EQ(t.header, fresh.header);
    EXPECT_EQ(t.position, fresh.position);
    EXPECT_EQ(t.sideToMove, fresh.sideToMove);
    EXPECT_EQ(t.solution, fresh.solution);
    EXPECT_EQ(t.taskText, fresh.taskText);
    EXPECT_EQ(t.hint, fresh.hint);
}

TEST(WorkedExamples, StandAsGiven)
{
    TPart tactic;
    tactic.LoadTask(1);
    EXPECT_EQ(tactic.position, "r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1");
    EXPECT_EQ(tactic.sideToMove, "w");
    EXPECT_EQ(tactic.solution, "f5-h6 g7:h6 g5:f6");
    EXPECT_EQ(tactic.taskText, "Ход белых. Найдите оптимальный вариант.");
    EXPECT_EQ(tactic.hint, "Попробуйте выиграть на связке.");
    EXPECT_NE(tactic.header.find("[EventDate \"1945\"]"), std::string::npos);
    EXPECT_EQ(tactic.marker, 1);

    TPart draw;
    draw.LoadTask(2);
    EXPECT_EQ(draw.position, "4Q3/7k/2p2q1p/1p3p1K/5P2/p6P/8/8");
    EXPECT_EQ(draw.solution, "h3-h4");
    EXPECT_EQ(draw.taskText, "Ход белых. Найдите оптимальный вариант. Сделайте ничью.");
    EXPECT_EQ(draw.hint, "Сделайте ничью патом.");
    EXPECT_NE(draw.header.find("[EventDate \"1953\"]"), std::string::npos);

    TPartstr strategy;
    strategy.LoadTask(1);
    EXPECT_EQ(strategy.position, "8/8/5pkp/3Q4/5P2/1P4K1/6P1/1r5r");
    EXPECT_EQ(strategy.sideToMove, "w");
    EXPECT_EQ(strategy.solution, "f4-f5");
    EXPECT_EQ(strategy.taskText, "Ход белых. Найдите оптимальный вариант.");
    EXPECT_EQ(strategy.hint, "Захват пространства в большинстве случаев хорош.");
    EXPECT_NE(strategy.header.find("[EventDate \"2008\"]"), std::string::npos);
}

} // namespace
