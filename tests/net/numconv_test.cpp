#include "numconv.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "comma_locale.h"
#include "errors.h"
#include "test_support.h"

namespace {

using net::FormatFixed3;
using net::StrToInt;

TEST(StrToInt, DecimalWithBlanksAndSigns) {
    EXPECT_EQ(StrToInt("12"), 12);
    EXPECT_EQ(StrToInt("   12"), 12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("-0"), 0);
}

TEST(StrToInt, ThirtyTwoBitLimits) {
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_THROW(StrToInt("2147483648"), net::ConvertError);
    EXPECT_THROW(StrToInt("-2147483649"), net::ConvertError);
    EXPECT_THROW(StrToInt("99999999999999999999"), net::ConvertError);
}

TEST(StrToInt, HexadecimalForms) {
    EXPECT_EQ(StrToInt("$10"), 16);
    EXPECT_EQ(StrToInt("x1f"), 31);
    EXPECT_EQ(StrToInt("X1F"), 31);
    EXPECT_EQ(StrToInt("0x1F"), 31);
    EXPECT_EQ(StrToInt("0XaB"), 171);
    EXPECT_EQ(StrToInt("  $0000000A"), 10);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), 2147483647);
    // Eight digits starting with 8 or above read as the signed 32 bits.
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("0x80000000"), -2147483647 - 1);
    EXPECT_THROW(StrToInt("$100000000"), net::ConvertError);  // nine digits
    // Nine digits are refused also when the value would fit in 32 bits.
    for (const char* nine : {"$000000001", "0x0FFFFFFFF"}) {
        EXPECT_EQ(testing_support::MessageOf<net::ConvertError>([&] { StrToInt(nine); }),
                  std::string("'") + nine + "' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt("$"), net::ConvertError);
    EXPECT_THROW(StrToInt("0x"), net::ConvertError);
    EXPECT_THROW(StrToInt("-$10"), net::ConvertError);
    EXPECT_THROW(StrToInt("+0x10"), net::ConvertError);
    EXPECT_THROW(StrToInt("$1G"), net::ConvertError);
}

TEST(StrToInt, AnythingElseFailsWithTheTextInTheMessage) {
    for (const char* bad : {"", " ", "+", "-", "abc", "12 ", "1 2", "1e3", "1.0", "12abc", "--1"}) {
        EXPECT_EQ(testing_support::MessageOf<net::ConvertError>([&] { StrToInt(bad); }),
                  std::string("'") + bad + "' is not a valid integer value");
    }
}

TEST(FormatFixed3, ThreeDecimalsWithAPoint) {
    EXPECT_EQ(FormatFixed3(0.0), "0.000");
    EXPECT_EQ(FormatFixed3(1.5), "1.500");
    EXPECT_EQ(FormatFixed3(9999.0), "9999.000");
    EXPECT_EQ(FormatFixed3(-2.25), "-2.250");
    EXPECT_EQ(FormatFixed3(1e20), "100000000000000000000.000");
    EXPECT_EQ(FormatFixed3(1.0 / 3.0), "0.333");
}

TEST(FormatFixed3, ExactHalfwayRoundsAwayFromZero) {
    EXPECT_EQ(FormatFixed3(0.5625), "0.563");
    EXPECT_EQ(FormatFixed3(-0.5625), "-0.563");
    EXPECT_EQ(FormatFixed3(0.0625), "0.063");
    EXPECT_EQ(FormatFixed3(0.9995), "1.000");  // stored just above the halfway point
    EXPECT_EQ(FormatFixed3(2.0005), "2.001");  // stored just above it
    EXPECT_EQ(FormatFixed3(9.9995), "9.999");  // stored just below it
    EXPECT_EQ(FormatFixed3(99.9996), "100.000");
}

TEST(FormatFixed3, PointWhateverTheLocale) {
    const testing_support::CommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    EXPECT_EQ(FormatFixed3(1.5), "1.500");
    EXPECT_EQ(FormatFixed3(-0.5625), "-0.563");
    EXPECT_EQ(FormatFixed3(9999.0), "9999.000");
    EXPECT_EQ(FormatFixed3(-0.0001), "-0.000");
}

TEST(FormatFixed3, NegativeValueRoundingToZeroKeepsItsSign) {
    EXPECT_EQ(FormatFixed3(-0.0001), "-0.000");
    EXPECT_EQ(FormatFixed3(0.0001), "0.000");
}

}  // namespace
