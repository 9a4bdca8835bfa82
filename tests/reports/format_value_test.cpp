#include "reports/format_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QString Padded(const char* text, int width)
{
    return QString::fromLatin1(text).leftJustified(width, QLatin1Char(' '));
}

}  // namespace

TEST(FormatValue, TrimsTrailingZerosAndPads)
{
    EXPECT_EQ(FormatValue(12.5, 3, 10, true), Padded("12.5", 10));
    EXPECT_EQ(FormatValue(-0.25, 5, 10, true), Padded("-0.25", 10));
    EXPECT_EQ(FormatValue(12.0, 3, 10, true), Padded("12.0", 10));
    EXPECT_EQ(FormatValue(0.0, 5, 10, true), Padded("0.0", 10));
    EXPECT_EQ(FormatValue(100.0, 5, 10, true), Padded("100.0", 10));  // zeros before the point stay
    EXPECT_EQ(FormatValue(-0.0, 3, 10, true), Padded("-0.0", 10));
    EXPECT_EQ(FormatValue(0.12345, 5, 10, true), Padded("0.12345", 10));
    // The settings report asks for no padding.
    EXPECT_EQ(FormatValue(1.0, 5, 7, false), QStringLiteral("1.0"));
    EXPECT_EQ(FormatValue(0.001, 3, 8, false), QStringLiteral("0.001"));
}

TEST(FormatValue, NotFiniteValuesGiveDashes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatValue(nan, 3, 10, true), Padded("---", 10));
    EXPECT_EQ(FormatValue(inf, 5, 10, true), Padded("---", 10));
    EXPECT_EQ(FormatValue(-inf, 5, 10, true), Padded("---", 10));
    EXPECT_EQ(FormatValue(nan, 3, 10, false), QStringLiteral("---"));
    EXPECT_EQ(FormatValue(nan, 3, 2, true), QStringLiteral("--"));
    EXPECT_EQ(FormatValue(nan, 3, 0, true), QString());
    // A float NaN widened to double is caught the same way.
    EXPECT_EQ(FormatValue(static_cast<double>(std::numeric_limits<float>::quiet_NaN()), 3, 4, true),
              QStringLiteral("--- "));
    // The exponent threshold: 2^1017 and above count as not finite, 2^1016 is still a number.
    EXPECT_EQ(FormatValue(std::ldexp(1.0, 1017), 3, 10, true), Padded("---", 10));
    EXPECT_EQ(FormatValue(std::ldexp(1.0, 1016), 3, 10, true), QStringLiteral("702223880>"));
}

TEST(FormatValue, OverflowRoundsAtTheLastFittingDigitAndMarksCutIntegers)
{
    // Rounded at the units and cut to ten characters: the point stays.
    EXPECT_EQ(FormatValue(123456789.5, 5, 10, true), QStringLiteral("123456790."));
    // The integer part itself is cut: ">" replaces its last kept digit.
    EXPECT_EQ(FormatValue(12345678901.0, 3, 10, true), QStringLiteral("123456789>"));
    EXPECT_EQ(FormatValue(-1234567890.0, 3, 10, true), QStringLiteral("-12345678>"));
    // An integer part exactly as wide as the field is cut without a mark.
    EXPECT_EQ(FormatValue(1234567890.5, 3, 10, true), QStringLiteral("1234567891"));
    // Too many decimals: rounded, not truncated, including a carry into the integer part.
    EXPECT_EQ(FormatValue(1.23456789, 5, 6, true), QStringLiteral("1.2346"));
    EXPECT_EQ(FormatValue(-1.23456789, 5, 6, true), QStringLiteral("-1.235"));
    EXPECT_EQ(FormatValue(9.99999, 5, 4, true), QStringLiteral("10.0"));
    // The rounded six-decimal text fits after all: it stands, padded.
    EXPECT_EQ(FormatValue(1.23456789012, 10, 10, true), Padded("1.234568", 10));
    // Width 0: nothing fits.
    EXPECT_EQ(FormatValue(5.5, 3, 0, true), QString());
}
