// The code-to-text tables where a wrong letter would not be seen: Latin and Cyrillic look-alikes,
// the texts that depend on the input, and values the tables lack.

#include <gtest/gtest.h>

#include "config/config_texts.h"
#include "config/device_blocks.h"
#include "config/model_capabilities.h"

namespace {

TEST(ConfigTexts, LookAlikeLettersAreTheRightOnes)
{
    // The page lists the individual supply with a Cyrillic РС; the report prints Latin C and PC.
    EXPECT_EQ(TextOf(kPowerControlTexts, 2).toUtf8(),
              QByteArray("\xd0\x98\xd0\xbd\xd0\xb4\xd0\xb8\xd0\xb2\xd0\xb8\xd0\xb4."
                         "\"\xd0\xa0\xd0\xa1\""));
    EXPECT_EQ(ShortTextOf(kPowerControlTexts, 2).toUtf8(), QByteArray("\xd0\x98\xd0\xbd\xd0\xb4.(PC)"));
    EXPECT_EQ(ShortTextOf(kPowerControlTexts, 1).toUtf8().left(1), QByteArray("C"));
    EXPECT_EQ(TextOf(kPowerControlTexts, 1).toUtf8().left(2), QByteArray("\xd0\xa1"));
    EXPECT_EQ(TextOf(kColdWaterUseTexts[0], 2).toUtf8().right(2), QByteArray("X3"));
}

TEST(ConfigTexts, EachTableWithItsTexts)
{
    struct Case {
        ValueTexts table;
        unsigned value;
        const char* text;
        const char* shortText;
    } cases[] = {
        {kDbChangeMethodTexts, 1, "Автоматич.по дате", "Авто,по дате"},
        {kDbAccessTexts, 2, "С Доступом", "С Доступом"},
        {kSensorTypeTexts, 3, "Pt500 a=0.00385 (W=1.385)", "Pt500"},
        {kTemperatureControlTexts, 1, "Счет отменен", "Счет отм."},
        {kDeltaTControlTexts, 2, "Счет отменён", "Счет отм."},
        {kHeatControlTexts, 3, "Счет отмен.", "Счет отм."},
        {kColdWaterUseTexts[0], 3, "Измеряется на X4", "Изм.на X4"},
        {kColdWaterUseTexts[1], 3, "Измеряется на X3", "Изм.на X3"},
        {kColdWaterUseTexts[1], 1, "Договорная", "Догов."},
        {kOutdoorAirTexts, 0, "Не измеряется", "Не изм."},
        {kVolumeControlTexts, 3, "С подст.и кон.U", "С подст.и кон.U"},
        {kExtraUseTexts, 3, "Сигнализация", "Сигнал-ия"},
        {kAlarmLevelTexts, 1, "Норм.замкн.", "НЗ"},
        {kExtraUnitsTexts, 1, "кВт*ч", "кВт*ч"},
        {kControlKindTexts, 3, "Доп. параметр", "Доп. параметр"},
        {kControlParameterTexts[kControlPipe], 2, "Gо тек.", "Gо тек."},
        {kControlParameterTexts[kControlInput], 5, "", ""},
        {kControlParameterTexts[kControlExtra], 1, "Зн.ч.", "Зн.ч."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextOf(c.table, c.value), QString::fromUtf8(c.text));
        EXPECT_EQ(ShortTextOf(c.table, c.value), QString::fromUtf8(c.shortText));
    }
}

TEST(ConfigTexts, ValuesWithoutAnEntry)
{
    EXPECT_EQ(FindValueText(kSensorTypeTexts, 4), nullptr);
    EXPECT_EQ(TextOf(kVolumeControlTexts, 5, "error"), QStringLiteral("error"));
    EXPECT_TRUE(kControlParameterTexts[0].empty());
    EXPECT_EQ(ModelName(4), QStringLiteral("04.1"));
    EXPECT_EQ(ModelName(5), QStringLiteral("error"));
    EXPECT_EQ(ModelName(-1), QStringLiteral("error"));
    EXPECT_EQ(ModelPermissionBit(4), 1u);
    EXPECT_EQ(ModelPermissionBit(3), 8u);
    EXPECT_EQ(ModelPermissionBit(5), 0u);
}

TEST(ModelCapabilities, ChannelsOfEachModel)
{
    // "02": temperatures 0x1B = pipes 1, 2 of ТВ1 and of ТВ2, no spare channels.
    EXPECT_TRUE(HasTemperatureChannel(1, 1, 1));
    EXPECT_FALSE(HasSpareTemperatureChannel(1, 0));
    EXPECT_FALSE(HasSpareTemperatureChannel(1, 1));
    EXPECT_TRUE(HasSpareTemperatureChannel(2, 1));
    // "04.1": pressures of ТВ1 only; "04": all but the spare of ТВ2.
    EXPECT_TRUE(HasPressureChannel(4, 0, 2));
    EXPECT_FALSE(HasPressureChannel(4, 1, 0));
    EXPECT_TRUE(HasPressureChannel(3, 1, 1));
    EXPECT_FALSE(HasPressureChannel(3, 1, 2));
    // "01": volumes 0x4F = ТВ1 all, ТВ2 pipe 1.
    EXPECT_TRUE(HasVolumeChannel(0, 1, 0));
    EXPECT_FALSE(HasVolumeChannel(0, 1, 1));
    for (int model = 0; model < kModelCount; ++model)
        EXPECT_TRUE(HasExtraInput(model));
    EXPECT_FALSE(HasExtraInput(5));
    EXPECT_EQ(CapabilitiesOf(5), nullptr);
}

}  // namespace
