#include "config/numeric_field_rule.h"

#include <gtest/gtest.h>

TEST(NumericFieldRule, KeepsWhatTheFieldAllowsAsTyped)
{
    const NumericFieldRule pressure = kPressureFieldRule;
    EXPECT_EQ(pressure.Apply("6.11832"), "6.11832");
    EXPECT_EQ(pressure.Apply("6.118329"), "6.11832");  // sixth decimal cut
    EXPECT_EQ(pressure.Apply("-6.1"), "6.1");          // pressures are never negative
    EXPECT_EQ(pressure.Apply("6.1.2"), "6.12");        // second point dropped, digits stay
    EXPECT_EQ(pressure.Apply("6,1a"), "61");
    EXPECT_EQ(pressure.Apply("٣"), "");  // only ASCII digits

    const NumericFieldRule temperature{true, 3};
    EXPECT_EQ(temperature.Apply("-5.1234"), "-5.123");
    EXPECT_EQ(temperature.Apply("5-1"), "51");  // a minus only in front
    EXPECT_EQ(temperature.Apply("--5"), "-5");

    const NumericFieldRule whole{false, 0};
    EXPECT_EQ(whole.Apply("12.5"), "125");
    const NumericFieldRule free{false, -1};
    EXPECT_EQ(free.Apply("0.1234567"), "0.1234567");
}

TEST(NumericFieldRule, ValueOnlyForANumber)
{
    EXPECT_FALSE(NumericFieldValue("").has_value());
    EXPECT_FALSE(NumericFieldValue("-").has_value());
    EXPECT_FALSE(NumericFieldValue(".").has_value());
    EXPECT_DOUBLE_EQ(*NumericFieldValue("6."), 6.0);
    EXPECT_DOUBLE_EQ(*NumericFieldValue("-0.25"), -0.25);
}
