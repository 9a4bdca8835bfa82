#include "base/numeric_field_rule.h"

#include <gtest/gtest.h>

TEST(NumericFieldRule, KeepsWhatTheFieldAllowsAsTyped)
{
    const NumericFieldRule pressure{false, 5};
    EXPECT_EQ(pressure.Apply("6.11832"), "6.11832");
    EXPECT_EQ(pressure.Apply("6.118329"), "6.11832");  // sixth decimal cut
    EXPECT_EQ(pressure.Apply("-6.1"), "6.1");          // pressures are never negative
    EXPECT_EQ(pressure.Apply("6.1.2"), "6.12");        // second point dropped, digits stay
    EXPECT_EQ(pressure.Apply("6,1a"), "6.1");          // a comma is the decimal point
    EXPECT_EQ(pressure.Apply("6,1,2"), "6.12");
    EXPECT_EQ(pressure.Apply("٣"), "");  // only ASCII digits

    const NumericFieldRule temperature{true, 3};
    EXPECT_EQ(temperature.Apply("-5,1234"), "-5.123");
    EXPECT_EQ(temperature.Apply("5-1"), "51");  // a minus only in front
    EXPECT_EQ(temperature.Apply("--5"), "-5");

    // A whole number ends at its point: "6,5" is 6, never 65.
    const NumericFieldRule whole{false, 0};
    EXPECT_EQ(whole.Apply("12,5"), "12.");
    EXPECT_EQ(whole.Apply("12.5"), "12.");
    const NumericFieldRule free{false, -1};
    EXPECT_EQ(free.Apply("0.1234567"), "0.1234567");

    // A byte: three digits at most, 256 and above cut back to two.
    EXPECT_EQ(kByteFieldRule.Apply("255"), "255");
    EXPECT_EQ(kByteFieldRule.Apply("256"), "25");
    EXPECT_EQ(kByteFieldRule.Apply("999"), "99");
    EXPECT_EQ(kByteFieldRule.Apply("0017"), "001");
    EXPECT_EQ(kByteFieldRule.Apply("1a2"), "12");
    EXPECT_EQ(kByteFieldRule.Apply("25,9"), "25.");
}

TEST(NumericFieldRule, TextPutInWholeKeepsItsNumberOrIsNotTaken)
{
    const NumericFieldRule positive{false, 3};
    EXPECT_TRUE(positive.KeepsNumberOf("500,5"));
    EXPECT_TRUE(positive.KeepsNumberOf(" 500.5\n"));  // blanks around it are no part of the number
    EXPECT_TRUE(positive.KeepsNumberOf("2,12345"));   // decimals past the limit are cut, as typed
    EXPECT_FALSE(positive.KeepsNumberOf("-500,5"));   // would lose its sign
    EXPECT_FALSE(positive.KeepsNumberOf("1 000,5"));  // would become 1000.5 by a dropped blank
    EXPECT_FALSE(positive.KeepsNumberOf("1.000,5"));  // thousands marked: another number
    EXPECT_FALSE(positive.KeepsNumberOf("6,5 м3"));
    EXPECT_TRUE(NumericFieldRule({true, 3}).KeepsNumberOf("-500,5"));
    EXPECT_FALSE(kByteFieldRule.KeepsNumberOf("300"));   // cut to 30
    EXPECT_FALSE(kByteFieldRule.KeepsNumberOf("1234"));  // cut to 123
    EXPECT_TRUE(kByteFieldRule.KeepsNumberOf("17"));
}

TEST(NumericFieldRule, ValueOnlyForANumber)
{
    EXPECT_FALSE(NumericFieldValue("").has_value());
    EXPECT_FALSE(NumericFieldValue("-").has_value());
    EXPECT_FALSE(NumericFieldValue(".").has_value());
    EXPECT_DOUBLE_EQ(*NumericFieldValue("6."), 6.0);
    EXPECT_DOUBLE_EQ(*NumericFieldValue("-0.25"), -0.25);
    EXPECT_EQ(WholePart("6."), "6");
    EXPECT_EQ(WholePart("42"), "42");
}
