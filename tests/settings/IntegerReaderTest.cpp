// The integer reader's accepted and refused forms.
#include "IntegerReader.h"

#include <gtest/gtest.h>

namespace {

TEST(IntegerReader, AcceptsDecimalAndHexWithSignAndLeadingBlanks)
{
    const std::pair<const char*, int32_t> accepted[] = {
        {"180", 180},          {"0", 0},           {"007", 7},          {"   60", 60},          {"+5", 5},
        {"-5", -5},            {"  -12", -12},     {"$3C", 60},         {"x3c", 60},           {"X3C", 60},
        {"0x3C", 60},          {"0X3c", 60},       {"-$10", -16},       {"+0x10", 16},         {"$0000000A", 10},
        {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"$7FFFFFFF", INT32_MAX}, {"-$80000000", INT32_MIN},
        {"000000000000000000000000000042", 42},
    };
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(ReadInteger(text), value) << '"' << text << '"';
    for (const char* text : {"", "   ", "abc", "180 ", "1 80", "180s", "1.5", "-", "+", "--5", "- 5", "$", "0x", "x",
                             "1A", "$1G", "$-5", "0x$5", "\t5", "2147483648", "-2147483649", "$80000000",
                             "$FFFFFFFF", "99999999999999999999999999999"})
        EXPECT_FALSE(ReadInteger(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(ReadInteger(std::string_view("12\0", 3)).has_value()); // a NUL is not the end
}

} // namespace
