// The two quote commands: re-seed, one draw over the whole table, a fresh
// entry, and the notice text.
#include "Fakes.h"
#include "QuoteCommands.h"
#include "UnitGulmar.h"
#include "Unitcitata.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

QString ExpectedQuote(int32_t number)
{
    Tcitata entry;
    entry.LoadQuote(number);
    return QString::fromStdString(entry.quote + " " + entry.continuation + " " + entry.author);
}

QString ExpectedComment(int32_t number)
{
    TGulmar entry;
    entry.LoadQuote(number);
    return QString::fromStdString(entry.comment + " " + entry.continuation);
}

struct CommandCase {
    const char* name;
    void (*command)(QWidget*, RandomSource&, MessageBoxes&);
    int32_t tableSize;
    QString (*expected)(int32_t);
};

class QuoteCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(QuoteCommand, EveryScriptedEntryIsShownAsANotice)
{
    const CommandCase& c = GetParam();
    ScriptedRandomSource random;
    FakeMessageBoxes boxes;
    QWidget parent;
    for (int32_t n = c.tableSize - 1; n >= 0; --n)
        random.script.push_back(n);

    for (int32_t n = c.tableSize - 1; n >= 0; --n)
        c.command(&parent, random, boxes);

    ASSERT_EQ(boxes.boxes.size(), static_cast<std::size_t>(c.tableSize));
    std::set<QString> distinct;
    for (std::size_t i = 0; i < boxes.boxes.size(); ++i) {
        const int32_t n = c.tableSize - 1 - static_cast<int32_t>(i);
        EXPECT_EQ(boxes.boxes[i].kind, RecordedBox::Notice);
        EXPECT_EQ(boxes.boxes[i].parent, &parent);
        EXPECT_EQ(boxes.boxes[i].text, c.expected(n)) << "entry " << n;
        distinct.insert(boxes.boxes[i].text);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(c.tableSize)) << "each number shows its own entry";

    // One re-seed, then one draw over the whole table, for every command.
    std::vector<std::string> expectedCalls;
    for (int32_t i = 0; i < c.tableSize; ++i) {
        expectedCalls.push_back("R");
        expectedCalls.push_back("B" + std::to_string(c.tableSize));
    }
    EXPECT_EQ(random.calls, expectedCalls);
}

TEST_P(QuoteCommand, ManyDrawsReachEveryEntry)
{
    const CommandCase& c = GetParam();
    SeededRandomSource random;
    FakeMessageBoxes boxes;
    constexpr int kCommands = 3000;
    for (int i = 0; i < kCommands; ++i)
        c.command(nullptr, random, boxes);
    EXPECT_EQ(random.reseeds, kCommands);

    std::set<QString> all;
    for (int32_t n = 0; n < c.tableSize; ++n)
        all.insert(c.expected(n));
    std::set<QString> shown;
    for (const RecordedBox& box : boxes.boxes) {
        EXPECT_TRUE(all.count(box.text)) << box.text.toStdString();
        shown.insert(box.text);
    }
    EXPECT_EQ(shown, all);
}

INSTANTIATE_TEST_SUITE_P(Commands, QuoteCommand,
    testing::Values(CommandCase{"ChessQuotes", &ShowChessQuote, 42, &ExpectedQuote},
        CommandCase{"GulmarComments", &ShowGulmarComment, 18, &ExpectedComment}),
    [](const testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST(QuoteCommandText, QuoteWithoutContinuationShowsTwoBlanksBeforeTheAuthor)
{
    ScriptedRandomSource random;
    random.script = {0};
    FakeMessageBoxes boxes;
    ShowChessQuote(nullptr, random, boxes);
    Tcitata entry;
    entry.LoadQuote(0);
    ASSERT_TRUE(entry.continuation.empty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.endsWith(QStringLiteral("  ") + QString::fromStdString(entry.author)));
    EXPECT_FALSE(boxes.boxes[0].text.contains(QStringLiteral("   ")));
}

TEST(QuoteCommandText, CommentWithoutContinuationEndsWithABlank)
{
    ScriptedRandomSource random;
    random.script = {0};
    FakeMessageBoxes boxes;
    ShowGulmarComment(nullptr, random, boxes);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.endsWith(QLatin1Char(' ')));
    EXPECT_FALSE(boxes.boxes[0].text.endsWith(QStringLiteral("  ")));
}

} // namespace
