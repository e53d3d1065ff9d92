#include "TaskRecord.h"
#include "TrainingTexts.h"

#include <gtest/gtest.h>

namespace {

TaskRecord Sample()
{
    TaskRecord r;
    r.header = "[White \"Alpha\"]\r\n[Black \"Beta\"]\r\n[EventDate \"1945\"]";
    r.position = "8/8/8/8/8/8/8/8";
    r.sideToMove = "w";
    r.solution = "e2-e4";
    r.taskText = "Ход белых. Найдите оптимальный вариант.";
    r.hint = "Попробуйте выиграть на связке.";
    r.marker = 1;
    return r;
}

TEST(TaskTextLinesTest, HeaderTaskTextAndHintInOrder)
{
    const std::vector<std::string> withHint = TaskTextLines(Sample(), true);
    const std::vector<std::string> expected = {"[White \"Alpha\"]", "[Black \"Beta\"]", "[EventDate \"1945\"]",
                                               "Ход белых. Найдите оптимальный вариант.", "Подсказка",
                                               "Попробуйте выиграть на связке."};
    EXPECT_EQ(withHint, expected);

    const std::vector<std::string> withoutHint = TaskTextLines(Sample(), false);
    EXPECT_EQ(withoutHint, std::vector<std::string>(expected.begin(), expected.begin() + 4));
}

TEST(TaskTextLinesTest, HeaderIsShownUnparsed)
{
    TaskRecord r = Sample();
    r.header = "no tags at all";
    EXPECT_EQ(TaskTextLines(r, false), (std::vector<std::string>{"no tags at all", r.taskText}));
    // An empty record still gives its (empty) lines.
    EXPECT_EQ(TaskTextLines(TaskRecord{}, true), (std::vector<std::string>{"", "", "Подсказка", ""}));
}

TEST(CollectionLoaderTest, BaseChoosesTheCollection)
{
    const auto tactics = LoadFromCollections(kTacticsBase, 1);
    const auto strategy = LoadFromCollections(kStrategyBase, 1);
    ASSERT_TRUE(tactics.has_value());
    ASSERT_TRUE(strategy.has_value());
    EXPECT_EQ(tactics->solution, "f5-h6 g7:h6 g5:f6");
    EXPECT_EQ(tactics->marker, 1);
    EXPECT_EQ(strategy->solution, "f4-f5");
    EXPECT_NE(tactics->position, strategy->position);
}

TEST(CollectionLoaderTest, NumbersOutsideACollectionGiveAnEmptyRecord)
{
    for (auto [base, number] : {std::pair{1, 0}, {1, -5}, {1, 226}, {2, 190}}) {
        const auto record = LoadFromCollections(base, number);
        ASSERT_TRUE(record.has_value());
        EXPECT_TRUE(record->position.empty() && record->solution.empty() && record->header.empty());
        EXPECT_EQ(record->marker, 0);
    }
}

TEST(CollectionLoaderTest, NoRecordForAnotherBase)
{
    EXPECT_FALSE(LoadFromCollections(0, 1).has_value());
    EXPECT_FALSE(LoadFromCollections(3, 1).has_value());
}

TEST(TrainingTextsTest, CaptionAndResults)
{
    EXPECT_EQ(CaptionForBase(1), "Tresolvin Тактика");
    EXPECT_EQ(CaptionForBase(2), "Tresolvin Стратегия");
    EXPECT_EQ(CaptionForBase(3), "Tresolvin");
    EXPECT_EQ(ResultsText(0, 0), "Количество попыток 0. Результат 0.");
    EXPECT_EQ(ResultsText(3, 1), "Количество попыток 3. Результат 1.");
}

} // namespace
