// What the user's service tab sends: parameter changes and the active set under the password, and the
// clock texts.

#include "config/user_service_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

PasswordBytes Bytes(const char (&six)[7])
{
    PasswordBytes bytes{};
    std::memcpy(bytes.data(), six, bytes.size());
    return bytes;
}

}  // namespace

TEST(UserServiceRules, ParameterChangeCarriesCodeValueAndPaddedPassword)
{
    const std::optional<UserParameterChange> change = MakeUserParameterChange(2, 7.5f, QStringLiteral("12"));
    ASSERT_TRUE(change.has_value());
    EXPECT_EQ(change->password, Bytes("12   \0"));
    // u16 code, then the float: the block's first word holds the code and the value's low half.
    std::uint8_t block[10] = {};
    std::memcpy(block, &change->change.codeWord, 4);
    std::memcpy(block + 4, &change->change.valueWord, 4);
    std::memcpy(block + 8, &change->change.extra, 2);
    EXPECT_EQ(block[0], 2);
    EXPECT_EQ(block[1], 0);
    float value = 0;
    std::memcpy(&value, block + 2, sizeof value);
    EXPECT_EQ(value, 7.5f);
    EXPECT_EQ(block[6], 0);
    EXPECT_EQ(block[9], 0);

    EXPECT_EQ(MakeUserParameterChange(0, -30.0f, QStringLiteral("abcde"))->password, Bytes("abcde\0"));
    EXPECT_EQ(MakeUserParameterChange(3, 1.0f, QString())->password, Bytes("     \0"));
    // Too long for the meter, a character its code page lacks, a code the tab does not offer.
    EXPECT_FALSE(MakeUserParameterChange(0, 1.0f, QStringLiteral("123456")).has_value());
    EXPECT_FALSE(MakeUserParameterChange(0, 1.0f, QStringLiteral("1ä2")).has_value());
    EXPECT_FALSE(MakeUserParameterChange(1, 1.0f, QStringLiteral("1")).has_value());
}

TEST(UserServiceRules, ActiveSetCommandsAreSevenAndEightWithThePassword)
{
    const std::optional<ServiceCommand> first = MakeActiveSetCommand(0, QStringLiteral("777"));
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->Code(), 7);
    EXPECT_EQ(first->Parameters(), Bytes("777  \0"));
    const std::optional<ServiceCommand> second = MakeActiveSetCommand(1, QStringLiteral("пароль").left(5));
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->Code(), 8);
    // Cyrillic goes out in the meter's code page: "парол" in windows-1251.
    EXPECT_EQ(second->Parameters(), Bytes("\xEF\xE0\xF0\xEE\xEB\0"));
    EXPECT_FALSE(MakeActiveSetCommand(2, QStringLiteral("1")).has_value());
    EXPECT_FALSE(MakeActiveSetCommand(0, QStringLiteral("123456")).has_value());
}

TEST(UserServiceRules, ClockTextsAndTheCorrectionTowardsTheComputer)
{
    const DateTimeStamp meter{5, 3, 24, 14, 7, 9};
    EXPECT_EQ(MeterClockText(meter), QStringLiteral("05.03.24 14:07:09"));

    // The meter 90 s behind: 90 s have to be added.
    const QDateTime computer(QDate(2024, 3, 5), QTime(14, 8, 39));
    EXPECT_EQ(ClockCorrectionSeconds(meter, computer), 90);
    EXPECT_EQ(ClockCorrectionText(90), QStringLiteral("Требуется коррекция 90 сек."));
    // Ahead across midnight and a year's end.
    const DateTimeStamp ahead{1, 1, 25, 0, 0, 30};
    EXPECT_EQ(ClockCorrectionSeconds(ahead, QDateTime(QDate(2024, 12, 31), QTime(23, 59, 50))), -40);
    EXPECT_EQ(ClockCorrectionText(-40), QStringLiteral("Требуется коррекция -40 сек."));
    // A reading that is no date and time gives no correction.
    EXPECT_FALSE(ClockCorrectionSeconds(DateTimeStamp{0, 13, 24, 25, 0, 0}, computer).has_value());
}
