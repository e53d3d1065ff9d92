// The integer reader's accepted and refused forms.
#include "IntegerReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Accepted {
    const char* name;
    const char* text;
    int32_t value;
};

class ReadIntegerAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(ReadIntegerAccepts, Value)
{
    const auto result = ReadInteger(GetParam().text);
    ASSERT_TRUE(result.has_value()) << '"' << GetParam().text << '"';
    EXPECT_EQ(*result, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    IntegerReader, ReadIntegerAccepts,
    testing::Values(Accepted{"Decimal", "180", 180}, Accepted{"Zero", "0", 0}, Accepted{"LeadingZeros", "007", 7},
                    Accepted{"LeadingBlanks", "   60", 60}, Accepted{"Plus", "+5", 5}, Accepted{"Minus", "-5", -5},
                    Accepted{"BlanksThenSign", "  -12", -12}, Accepted{"Dollar", "$3C", 60},
                    Accepted{"SmallX", "x3c", 60}, Accepted{"CapitalX", "X3C", 60}, Accepted{"ZeroX", "0x3C", 60},
                    Accepted{"ZeroCapitalX", "0X3c", 60}, Accepted{"NegativeHex", "-$10", -16},
                    Accepted{"PlusHex", "+0x10", 16}, Accepted{"HexLeadingZeros", "$0000000A", 10},
                    Accepted{"Max", "2147483647", 2147483647}, Accepted{"Min", "-2147483648", INT32_MIN},
                    Accepted{"HexMax", "$7FFFFFFF", 2147483647}, Accepted{"HexMin", "-$80000000", INT32_MIN},
                    Accepted{"LongLeadingZeros", "000000000000000000000000000042", 42}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refused {
    const char* name;
    const char* text;
};

class ReadIntegerRefuses : public testing::TestWithParam<Refused> {};

TEST_P(ReadIntegerRefuses, Nothing)
{
    const auto result = ReadInteger(GetParam().text);
    EXPECT_FALSE(result.has_value()) << '"' << GetParam().text << "\" gave " << *result;
}

INSTANTIATE_TEST_SUITE_P(
    IntegerReader, ReadIntegerRefuses,
    testing::Values(Refused{"Empty", ""}, Refused{"BlanksOnly", "   "}, Refused{"Letters", "abc"},
                    Refused{"TrailingBlank", "180 "}, Refused{"BlankInside", "1 80"},
                    Refused{"TrailingLetter", "180s"}, Refused{"Fraction", "1.5"}, Refused{"SignOnly", "-"},
                    Refused{"PlusOnly", "+"}, Refused{"TwoSigns", "--5"}, Refused{"SignAfterBlankAfterSign", "- 5"},
                    Refused{"DollarOnly", "$"}, Refused{"ZeroXOnly", "0x"}, Refused{"XOnly", "x"},
                    Refused{"HexDigitInDecimal", "1A"}, Refused{"BadHexDigit", "$1G"},
                    Refused{"SignAfterPrefix", "$-5"}, Refused{"DoublePrefix", "0x$5"},
                    Refused{"LeadingTab", "\t5"}, Refused{"OneAboveMax", "2147483648"},
                    Refused{"OneBelowMin", "-2147483649"}, Refused{"HexAboveMax", "$80000000"},
                    Refused{"HexAllOnes", "$FFFFFFFF"}, Refused{"Huge", "99999999999999999999999999999"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IntegerReader, EmbeddedNulIsNotTheEndOfTheText)
{
    // Values come out of a file that may hold any byte.
    EXPECT_FALSE(ReadInteger(std::string_view("12\0", 3)).has_value());
    EXPECT_EQ(ReadInteger(std::string_view("12", 2)), 12);
}

} // namespace
