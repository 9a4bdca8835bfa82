// The texts of the controls-and-alarms page: control rows and editor choices, alarm tabs and events.

#include <gtest/gtest.h>

#include "config/ctrls_and_alarms_texts.h"

namespace {

ControlEntry Control(unsigned kind, unsigned number, unsigned parameter, float minimum, float maximum)
{
    ControlEntry control{};
    control.SetKind(kind);
    control.SetNumber(number);
    control.SetParameter(parameter);
    control.minimum = minimum;
    control.maximum = maximum;
    return control;
}

TEST(CtrlsAndAlarmsTexts, ControlRows)
{
    EXPECT_EQ(ControlListColumns(),
              (QStringList{"№", "Контролируемый элемент", "Номер", "Параметр", "Мин.значение", "Макс.значение"}));
    EXPECT_EQ(ControlRowTexts(Control(kControlPipe, 4, 2, -5.0f, 12.3456f), 0),
              (QStringList{"1", "Труба", "ТВ2 Труба 2", "Gо тек.", "-5.000", "12.346"}));
    EXPECT_EQ(ControlRowTexts(Control(kControlInput, 1, 4, 0.0f, 1000.0f), 1),
              (QStringList{"2", "ТВ", "2", "Qгч.", "0.000", "1000.000"}));
    EXPECT_EQ(ControlRowTexts(Control(kControlExtra, 0, 1, 0.5f, 2.0f), 3),
              (QStringList{"4", "Доп. параметр", "1", "Зн.ч.", "0.500", "2.000"}));
    // An unused control keeps its stored limits to itself.
    EXPECT_EQ(ControlRowTexts(Control(kControlUnused, 3, 3, 1.0f, 2.0f), 2),
              (QStringList{"3", "Не используется", "", "", "", ""}));
    // A number beyond the kind's range and an invalid kind read as nothing rather than a wrong element.
    EXPECT_EQ(ControlRowTexts(Control(kControlInput, 2, 0, 0.0f, 0.0f), 0).at(2), QString());
    EXPECT_EQ(ControlRowTexts(Control(5, 0, 0, 0.0f, 0.0f), 0), (QStringList{"1", "", "", "", "", ""}));
}

TEST(CtrlsAndAlarmsTexts, EditorChoices)
{
    EXPECT_EQ(ControlNumberChoices(kControlPipe),
              (QStringList{"ТВ1 Труба 1", "ТВ1 Труба 2", "ТВ1 Труба 3", "ТВ2 Труба 1", "ТВ2 Труба 2", "ТВ2 Труба 3"}));
    EXPECT_EQ(ControlNumberChoices(kControlInput), (QStringList{"1", "2"}));
    EXPECT_EQ(ControlNumberChoices(kControlExtra), (QStringList{"1"}));
    EXPECT_TRUE(ControlNumberChoices(kControlUnused).isEmpty());
    EXPECT_TRUE(ControlNumberChoices(7).isEmpty());

    EXPECT_EQ(ControlParameterChoices(kControlPipe),
              (QStringList{"tтек.", "Pтек.", "Gо тек.", "Фтек.", "tч.", "Pч.", "Vч."}));
    // The sixth input parameter is valid and has no text.
    EXPECT_EQ(ControlParameterChoices(kControlInput), (QStringList{"dtтек.", "dtч.", "dMч.", "Q12ч.", "Qгч.", ""}));
    EXPECT_EQ(ControlParameterChoices(kControlExtra), (QStringList{"Зн.тек.", "Зн.ч."}));
    EXPECT_TRUE(ControlParameterChoices(kControlUnused).isEmpty());
    EXPECT_TRUE(ControlParameterChoices(4).isEmpty());
}

TEST(CtrlsAndAlarmsTexts, AlarmTabs)
{
    // Latin COM, the numero sign.
    EXPECT_EQ(AlarmTabTitle(0), QStringLiteral("COM1 - Сервер №1"));
    EXPECT_EQ(AlarmTabTitle(1), QStringLiteral("COM1 - Сервер №2"));
    EXPECT_EQ(AlarmTabTitle(2), QStringLiteral("COM2 - Сервер №1"));
    EXPECT_EQ(AlarmTabTitle(3), QStringLiteral("COM2 - Сервер №2"));
    EXPECT_EQ(AlarmTabTitle(3).toUtf8().left(3), QByteArray("COM"));
    EXPECT_EQ(AlarmListColumns(), (QStringList{"№", "Название"}));
}

TEST(CtrlsAndAlarmsTexts, TheTwentyFiveEvents)
{
    const QStringList expected{"ТВ1 Труба 1, НС по t",
                               "ТВ1 Труба 2, НС по t",
                               "ТВ1 Труба 3, НС по t",
                               "ТВ2 Труба 1, НС по t",
                               "ТВ2 Труба 2, НС по t",
                               "ТВ2 Труба 3, НС по t",
                               "ТВ1 Труба 1, НС по P",
                               "ТВ1 Труба 2, НС по P",
                               "ТВ1 Труба 3, НС по P",
                               "ТВ2 Труба 1, НС по P",
                               "ТВ2 Труба 2, НС по P",
                               "ТВ2 Труба 3, НС по P",
                               "ТВ1 Труба 1, НС по G",
                               "ТВ1 Труба 2, НС по G",
                               "ТВ1 Труба 3, НС по G",
                               "ТВ2 Труба 1, НС по G",
                               "ТВ2 Труба 2, НС по G",
                               "ТВ2 Труба 3, НС по G",
                               "ТВ1 НС",
                               "ТВ2 НС",
                               "ДП1 НС",
                               "Контроль 1",
                               "Контроль 2",
                               "Контроль 3",
                               "Контроль 4"};
    QStringList names;
    for (int row = 1; row <= kAlarmEventCount; ++row)
        names << AlarmEventName(row);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(AlarmEventName(0), QString());
    EXPECT_EQ(AlarmEventName(26), QString());
}

}  // namespace
