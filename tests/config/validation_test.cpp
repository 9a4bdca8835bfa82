// ValidateTunes: every check with its exact message, the order, and the repairs it makes.

#include <gtest/gtest.h>
#include <QByteArray>
#include <cmath>
#include <functional>

#include "config/scheme_table.h"
#include "config/tunes_defaults.h"
#include "config/tunes_validation.h"
#include "support/recording_message_host.h"

namespace {

constexpr unsigned kWarning = MessageStyle::kOk | MessageStyle::kIconWarning;
constexpr unsigned kInformationStyle = MessageStyle::kOk | MessageStyle::kIconInformation;

InputSettings& In(ConfigurationBlocks& b, int k, int t)
{
    return b.tunes.db[k].inputs[t];
}

PipeSettings& Pipe(ConfigurationBlocks& b, int k, int t, int p)
{
    return b.tunes.db[k].pipes[t][p];
}

// Gives input t of set k a scheme with the defaults and the combination at `row`.
void SetScheme(ConfigurationBlocks& b, int k, int t, int scheme, int row = 0)
{
    In(b, k, t).scheme = std::uint8_t(scheme);
    MakeDefaultInput(b.tunes.db[k], t, b.identity.modelIndex);
    In(b, k, t).SetKt3(CombinationAt(scheme, row)->Kt3());
    In(b, k, t).SetFrt(CombinationAt(scheme, row)->Frt());
}

void SetModel(ConfigurationBlocks& b, int model)
{
    b.identity.modelIndex = std::uint8_t(model);
}

// Model "04", unit system МКС (the factory choice), БД1 ТВ1 on scheme 1 with КТ3 1 and ФРТ 1.
ConfigurationBlocks ValidConfiguration()
{
    ConfigurationBlocks b;
    MakeDefaultConfiguration(b);
    SetScheme(b, 0, 0, 1);
    return b;
}

struct Case {
    const char* name;
    std::function<void(ConfigurationBlocks&)> change;
    const char* message;
    unsigned style = kWarning;
};

void UseDb2(ConfigurationBlocks& b)
{
    b.tunes.SetDb2Used(true);
    SetScheme(b, 1, 1, 6);
}

const Case kCases[] = {
    {"S1", [](auto& b) { SetModel(b, 5); }, "Недопустимое значения настройки \"Система: модель t\" (5)!"},
    {"S2", [](auto& b) { b.tunes.reportHour = 24; }, "Недопустимое значения настройки \"Система: Отч.час\" (24)!"},
    {"S3 zero", [](auto& b) { b.tunes.reportDay = 0; }, "Недопустимое значения настройки \"Система: Отч.сутки\" (0)!"},
    {"S3 32", [](auto& b) { b.tunes.reportDay = 32; }, "Недопустимое значения настройки \"Система: Отч.сутки\" (32)!"},
    {"S4 БД2 empty", [](auto& b) { b.tunes.SetDb2Used(true); },
     "Задано использование БД1 и БД2, но в БД2 тепловые вводы не задействованы!"},
    {"S4 both empty",
     [](auto& b) {
         b.tunes.SetDb2Used(true);
         In(b, 0, 0).scheme = 0;
     },
     "Задано использование БД1 и БД2, но в БД2 тепловые вводы не задействованы!"},
    {"S4 БД1 empty",
     [](auto& b) {
         UseDb2(b);
         In(b, 0, 0).scheme = 0;
     },
     "Задано использование БД1 и БД2, но в БД1 тепловые вводы не задействованы!"},
    {"S5", [](auto& b) { In(b, 0, 0).scheme = 0; }, "В БД1 тепловые вводы не задействованы!"},
    {"S6",
     [](auto& b) {
         UseDb2(b);
         b.tunes.SetDbChangeMethod(3);
     },
     "Недопустимое значения настройки \"Система: способ смены акт. БД\" (3)!"},
    {"S7",
     [](auto& b) {
         UseDb2(b);
         b.tunes.SetKeyboardAccess(3);
     },
     "Недопустимое значения настройки \"Система: смена с клавиатуры\" (3)!"},
    {"S8",
     [](auto& b) {
         UseDb2(b);
         b.tunes.SetPcAccess(7);
     },
     "Недопустимое значения настройки \"Система: смена по сети\" (7)!"},
    {"S9", [](auto& b) { b.tunes.SetSensorType(4); },
     "Недопустимое значения настройки \"Система: тип датчиков t\" (4)!"},

    {"I1", [](auto& b) { In(b, 0, 1).scheme = 15; }, "Недопустимая схема измерения для ТВ2 в БД1!"},
    {"I3", [](auto& b) { In(b, 0, 0).maxImbalance = -0.5f; },
     "Задано отрицательное значение дисбаланса для ТВ1 в БД1!"},
    {"I4", [](auto& b) { In(b, 0, 0).maxImbalance = 4.01f; },
     "Максимальный дисбаланс может быть задан в пределах 0.000000-4.000000% (ТВ1 в БД1)!"},
    {"I5", [](auto& b) { In(b, 0, 0).contractColdTemperature = 100.0f; },
     "Договорное значение tx может быть задано в пределах 0.000000-99.900000 гр.С (ТВ1 в БД1)!"},
    {"I6 МКС", [](auto& b) { In(b, 0, 0).contractColdPressure = 3.0f; },
     "Договорное значение Px может быть задано в пределах 1.000-25.493 кгс/см2 (ТВ1 в БД1)!"},
    {"I6 СИ",
     [](auto& b) {
         b.tunes.SetUnitSystem(0);
         In(b, 0, 0).contractColdPressure = 0.098f;
     },
     "Договорное значение Px может быть задано в пределах 0.098-2.500 МПа (ТВ1 в БД1)!"},
    {"I7",
     [](auto& b) {
         In(b, 0, 0).SetKt3(2);
         In(b, 0, 0).SetFrt(5);
     },
     "Недопустимое сочетание параметров КТ3 и ФРТ для ТВ1 в БД1 (КТ3=2 и ФРТ=5)!"},
    {"I8 model 01",
     [](auto& b) {
         SetModel(b, 0);
         In(b, 0, 0).SetKt3(3);
     },
     "Выбранное сочетание СИ, КТ3 и ФРТ недопустимо для вычислителя модели 01 (БД1, ТВ1)!", kInformationStyle},
    {"I8 model 04.1 on ТВ2",
     [](auto& b) {
         SetModel(b, 4);
         SetScheme(b, 0, 1, 1);
     },
     "Выбранное сочетание СИ, КТ3 и ФРТ недопустимо для вычислителя модели 04.1 (БД1, ТВ2)!", kInformationStyle},
    {"I9", [](auto& b) { In(b, 0, 0).SetTemperatureControl(2); }, "Недопустимый тип обработки НС по t для ТВ1 в БД1!"},
    {"I10", [](auto& b) { In(b, 0, 0).SetImbalanceControl(5); }, "Недопустимый тип обработки НС по dM для ТВ1 в БД1!"},
    {"I11", [](auto& b) { In(b, 0, 0).SetHeatControl(4); }, "Недопустимый тип обработки НС по Q для ТВ1 в БД1!"},
    {"I12", [](auto& b) { In(b, 0, 0).SetDeltaTControl(3); }, "Недопустимый тип обработки НС по dt для ТВ1 в БД1!"},
    {"I13", [](auto& b) { In(b, 0, 0).SetColdWaterUse(4); }, "Недопустимое значение использование tx ТВ1 в БД1!"},
    {"I14",
     [](auto& b) {
         SetModel(b, 0);
         In(b, 0, 0).SetOutdoorAirMeasured(true);
     },
     "Задано измерение tнв в ТВ1 в БД1, но в данной модели вычислителя отсутствует измерительный канал!"},
    {"I15",
     [](auto& b) {
         SetScheme(b, 0, 0, 1, 4);
         In(b, 0, 0).SetOutdoorAirMeasured(true);
     },
     "Задано измерение tнв в ТВ1 в БД1, но канал уже занят измерением t3!"},
    {"I16 own tx",
     [](auto& b) {
         In(b, 0, 0).SetOutdoorAirMeasured(true);
         In(b, 0, 0).SetColdWaterUse(2);
     },
     "Задано измерение tнв в ТВ1 в БД1, но канал уже занят измерением tx ТВ1!"},
    {"I16 other tx",
     [](auto& b) {
         In(b, 0, 0).SetOutdoorAirMeasured(true);
         In(b, 0, 1).SetColdWaterUse(3);
     },
     "Задано измерение tнв в ТВ1 в БД1, но канал уже занят измерением tx ТВ2!"},
    {"I17",
     [](auto& b) {
         SetModel(b, 0);
         In(b, 0, 0).SetColdWaterUse(2);
     },
     "Задано измерение tx в ТВ1 в БД1, но в данной модели вычислителя отсутствует измерительный канал!"},
    {"I18",
     [](auto& b) {
         SetScheme(b, 0, 0, 1, 4);
         In(b, 0, 0).SetColdWaterUse(2);
     },
     "Задано измерение tx в ТВ1 в БД1, но канал уже занят измерением t3!"},
    {"I20 ТВ1",
     [](auto& b) {
         SetModel(b, 1);
         In(b, 0, 0).SetColdWaterUse(3);
     },
     "Задано измерение tx в ТВ1 в БД1 (на канале R6), но в данной модели вычислителя отсутствует измерительный канал!"},
    {"I20 ТВ2",
     [](auto& b) {
         SetModel(b, 1);
         SetScheme(b, 0, 1, 1);
         In(b, 0, 1).SetColdWaterUse(3);
     },
     "Задано измерение tx в ТВ2 в БД1 (на канале R3), но в данной модели вычислителя отсутствует измерительный канал!"},
    {"I21",
     [](auto& b) {
         In(b, 0, 0).SetColdWaterUse(3);
         SetScheme(b, 0, 1, 1, 4);
     },
     "Задано измерение tx в ТВ1 в БД1 (на канале R6), но канал уже занят измерением t3 ТВ2!"},
    {"I22",
     [](auto& b) {
         In(b, 0, 0).SetColdWaterUse(3);
         SetScheme(b, 0, 1, 1);
         In(b, 0, 1).SetOutdoorAirMeasured(true);
     },
     "Задано измерение tx в ТВ1 в БД1 (на канале R6), но канал уже занят измерением tнв ТВ2!"},

    {"P1", [](auto& b) { Pipe(b, 0, 0, 0).contractTemperature = 175.5f; },
     "Договорное значение по t может быть задано в пределах 0.000000-175.000000 гр.С (t1 ТВ1 в БД1)!"},
    {"P1 pipe 3 with КТ3 3",
     [](auto& b) {
         SetScheme(b, 0, 0, 1, 4);
         Pipe(b, 0, 0, 2).contractTemperature = -1.0f;
     },
     "Договорное значение по t может быть задано в пределах 0.000000-175.000000 гр.С (t3 ТВ1 в БД1)!"},
    {"P2 МКС", [](auto& b) { Pipe(b, 0, 0, 1).contractPressure = 3.0f; },
     "Договорное значение по P может быть задано в пределах 1.00000-25.49300 кгс/см2 (ТВ1 в БД1)!"},
    {"P2 СИ",
     [](auto& b) {
         b.tunes.SetUnitSystem(0);
         Pipe(b, 0, 0, 0).contractPressure = 3.0f;
     },
     "Договорное значение по P может быть задано в пределах 0.09807-2.50000 МПа (ТВ1 в БД1)!"},
    {"P2 pipe 3 from level 517",
     [](auto& b) {
         b.identity.firmwareLevel = 517;
         Pipe(b, 0, 0, 2).contractPressure = 0.0f;
     },
     "Договорное значение по P может быть задано в пределах 1.00000-25.49300 кгс/см2 (ТВ1 в БД1)!"},
    {"P3",
     [](auto& b) {
         SetModel(b, 2);
         SetScheme(b, 0, 0, 1);
         Pipe(b, 0, 0, 0).SetPressureSensor(true);
     },
     "Задано измерение P1 в ТВ1 в БД1, но в данной модели вычислителя отсутствует измерительный канал!"},
    {"P4",
     [](auto& b) {
         Pipe(b, 0, 0, 1).SetPressureSensor(true);
         Pipe(b, 0, 0, 1).heightCorrection = 10.0f;
     },
     "Значение Pп может быть задано в пределах -9.900000-9.900000 м (P2 ТВ1 в БД1)!"},
    {"P5",
     [](auto& b) {
         Pipe(b, 0, 0, 1).SetPressureSensor(true);
         Pipe(b, 0, 0, 1).sensorUpperLimit = 0.0f;
     },
     "Pв может быть задано в пределах 1.00000-25.49300 кгс/см2 (P2 ТВ1 в БД1)!"},
    {"V2", [](auto& b) { Pipe(b, 0, 0, 0).SetVolumeControl(5); }, "Недопустимый тип обработки НС по V1 для ТВ1 в БД1!"},
    {"V3", [](auto& b) { Pipe(b, 0, 0, 1).SetPowerControl(3); },
     "Недопустимый тип контроля откл. пит. расходомера по V2 для ТВ1 в БД1!"},
    {"V4", [](auto& b) { Pipe(b, 0, 0, 0).SetFlowMeterType(2); }, "Недопустимый тип импульсов по V1 для ТВ1 в БД1!"},
    {"V5", [](auto& b) { Pipe(b, 0, 0, 0).pulseWeight = 10001.0f; },
     "Значение веса импульса может быть задано в пределах 0.000000-10000.000000 л/имп. (V1 ТВ1 в БД1)!"},
    {"V6 pipe 3 with КТ3 1", [](auto& b) { Pipe(b, 0, 0, 2).hourlyVolumeMin = -1.0f; },
     "Значение Vч.ниж. может быть задано в пределах 0.000000-99999.900000 м3 (V3 ТВ1 в БД1)!"},
    {"V7", [](auto& b) { Pipe(b, 0, 0, 0).hourlyVolumeMax = 100000.0f; },
     "Значение Vч.верх. может быть задано в пределах 0.000000-99999.900000 м3 (V1 ТВ1 в БД1)!"},
    {"V8",
     [](auto& b) {
         Pipe(b, 0, 0, 1).hourlyVolumeMin = 50.0f;
         Pipe(b, 0, 0, 1).hourlyVolumeMax = 40.0f;
     },
     "Значение Vч.верх. должно быть больше значение Vч.ниж. (V2 ТВ1 в БД1)!"},
    {"V9 not a number", [](auto& b) { Pipe(b, 0, 0, 0).hourlyVolumeContract = std::nanf(""); },
     "Значение Vч.дог. может быть задано в пределах 0.000000-99999.900000 м3 (V1 ТВ1 в БД1)!"},

    {"E1", [](auto& b) { b.tunes.extra.SetUse(4); }, "Недопустимое значения использования доп. имп. входа (4)!"},
    {"E3",
     [](auto& b) {
         b.tunes.extra.SetUse(2);
         b.tunes.extra.weightOrConfirmation = 10001.0f;
     },
     "Значение веса импульса может быть задано в пределах 0.000000-10000.000000 (доп. имп. вход)!"},
    {"E4",
     [](auto& b) {
         b.tunes.extra.SetUse(2);
         b.tunes.extra.hourlyMin = -1.0f;
     },
     "Значение Знач.ч.ниж. может быть задано в пределах 0.000000-99999.900000 (доп. имп. вход)!"},
    {"E5",
     [](auto& b) {
         b.tunes.extra.SetUse(2);
         b.tunes.extra.hourlyMax = 1e6f;
     },
     "Значение Знач.ч.верх. может быть задано в пределах 0.000000-99999.900000 (доп. имп. вход)!"},
    {"E6",
     [](auto& b) {
         b.tunes.extra.SetUse(2);
         b.tunes.extra.hourlyMin = 5.0f;
         b.tunes.extra.hourlyMax = 4.0f;
     },
     "Значение Знач.ч.верх. должно быть больше значение Знач.ч.ниж. (доп. имп. вход)!"},
    {"E7",
     [](auto& b) {
         b.tunes.extra.SetUse(2);
         b.tunes.extra.SetUnits(2);
     },
     "Недопустимое значения единиц измерения доп. имп. входа (2)!"},
    {"E8",
     [](auto& b) {
         b.tunes.extra.SetUse(3);
         b.tunes.extra.weightOrConfirmation = 0.4f;
     },
     "Значение времени подтверждения срабатывания может быть задано в пределах 0.500000-9.900000 (доп. имп. вход)!"},
    {"C1", [](auto& b) { b.controls.controls[1].SetKind(4); },
     "Недопустимый контролируемый элемент для \"Контроль 2\"!"},
    {"C2 pipe",
     [](auto& b) {
         b.controls.controls[0].SetKind(kControlPipe);
         b.controls.controls[0].SetNumber(6);
     },
     "Недопустимый номер контролируемого элемента для \"Контроль 1\"!"},
    {"C2 input",
     [](auto& b) {
         b.controls.controls[0].SetKind(kControlInput);
         b.controls.controls[0].SetNumber(2);
     },
     "Недопустимый номер контролируемого элемента для \"Контроль 1\"!"},
    {"C3 pipe",
     [](auto& b) {
         b.controls.controls[2].SetKind(kControlPipe);
         b.controls.controls[2].SetParameter(7);
     },
     "Недопустимый параметр контролируемого элемента для \"Контроль 3\"!"},
    {"C3 input",
     [](auto& b) {
         b.controls.controls[2].SetKind(kControlInput);
         b.controls.controls[2].SetParameter(6);
     },
     "Недопустимый параметр контролируемого элемента для \"Контроль 3\"!"},
    {"C3 extra",
     [](auto& b) {
         b.controls.controls[2].SetKind(kControlExtra);
         b.controls.controls[2].SetParameter(2);
     },
     "Недопустимый параметр контролируемого элемента для \"Контроль 3\"!"},
    {"C4",
     [](auto& b) {
         auto& c = b.controls.controls[3];
         c.SetKind(kControlExtra);
         c.minimum = 5.0f;
         c.maximum = 4.0f;
     },
     "Значение \"Макс.значение\" не может быть меньше значения \"Мин.значение\" для \"Контроль 4\"!"},

    {"БД2 in use",
     [](auto& b) {
         UseDb2(b);
         In(b, 1, 1).maxImbalance = -1.0f;
     },
     "Задано отрицательное значение дисбаланса для ТВ2 в БД2!"},
    {"БД2 examined when not in use",
     [](auto& b) {
         SetScheme(b, 1, 0, 3);
         In(b, 1, 0).SetKt3(0);
     },
     "Недопустимое сочетание параметров КТ3 и ФРТ для ТВ1 в БД2 (КТ3=0 и ФРТ=1)!"},
    {"ТВ2 examined after an unused ТВ1",
     [](auto& b) {
         SetScheme(b, 0, 1, 12);
         In(b, 0, 0).scheme = 0;
         Pipe(b, 0, 1, 1).pulseWeight = -1.0f;
     },
     "Значение веса импульса может быть задано в пределах 0.000000-10000.000000 л/имп. (V2 ТВ2 в БД1)!"},
};

TEST(ValidateTunes, TheFactoryConfigurationWithOneSchemePasses)
{
    ConfigurationBlocks b = ValidConfiguration();
    RecordingMessageHost host;
    EXPECT_TRUE(ValidateTunes(b, host));
    EXPECT_TRUE(host.shown.empty());
}

TEST(ValidateTunes, EachViolationWithItsOwnMessage)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ConfigurationBlocks b = ValidConfiguration();
        c.change(b);
        RecordingMessageHost host;
        EXPECT_FALSE(ValidateTunes(b, host));
        ASSERT_EQ(host.shown.size(), 1u);
        EXPECT_EQ(host.shown[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(host.shown[0].caption, QStringLiteral("Информация"));
        EXPECT_EQ(host.shown[0].style, c.style);
    }
}

TEST(ValidateTunes, ValuesOnTheBoundsAndUnusedPartsPass)
{
    const std::function<void(ConfigurationBlocks&)> accepted[] = {
        [](auto& b) { In(b, 0, 0).maxImbalance = 4.0f; },
        [](auto& b) { In(b, 0, 0).contractColdTemperature = 99.9f; },
        [](auto& b) { In(b, 0, 0).contractColdPressure = 2.5f; },
        [](auto& b) { In(b, 0, 0).contractColdPressure = 1.0f / 10.1972f; },  // 1 kgf/cm² typed under МКС
        [](auto& b) { Pipe(b, 0, 0, 0).hourlyVolumeMax = 99999.9f; },
        [](auto& b) { Pipe(b, 0, 0, 2).contractTemperature = 500.0f; },  // КТ3 1: pipe 3 has no temperature
        [](auto& b) { Pipe(b, 0, 0, 2).contractPressure = 0.0f; },       // nor, below level 517, a pressure
        [](auto& b) {
            b.tunes.SetDbChangeMethod(3);
            b.tunes.SetPcAccess(7);
        },                                // БД2 not used
        [](auto& b) { SetModel(b, 4); },  // "04.1" uses the "01" bit on ТВ1
        [](auto& b) {
            SetModel(b, 4);
            SetScheme(b, 0, 1, 12);
        },
        [](auto& b) {
            SetModel(b, 0);
            SetScheme(b, 0, 1, 12);
        },                                                // no volume channel check for "01"
        [](auto& b) { In(b, 0, 0).SetColdWaterUse(3); },  // ТВ2 without a scheme: channel free
        [](auto& b) {
            b.tunes.extra.SetUse(3);
            b.tunes.extra.weightOrConfirmation = 9.9f;
        },
        [](auto& b) {
            b.controls.controls[0].SetKind(kControlInput);
            b.controls.controls[0].SetParameter(5);
        },
    };
    int index = 0;
    for (const auto& change : accepted) {
        ConfigurationBlocks b = ValidConfiguration();
        change(b);
        RecordingMessageHost host;
        EXPECT_TRUE(ValidateTunes(b, host)) << index << ": " << host.LastText().toStdString();
        ++index;
    }
}

TEST(ValidateTunes, OnlyTheFirstViolationIsReported)
{
    ConfigurationBlocks b = ValidConfiguration();
    b.tunes.SetSensorType(9);
    In(b, 0, 0).maxImbalance = -1.0f;
    b.controls.controls[0].SetKind(7);
    RecordingMessageHost host;
    EXPECT_FALSE(ValidateTunes(b, host));
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.LastText(), QStringLiteral("Недопустимое значения настройки \"Система: тип датчиков t\" (9)!"));
    EXPECT_EQ(float(In(b, 0, 0).maxImbalance), -1.0f) << "a failed check changes nothing it reports";
}

TEST(ValidateTunes, RepairsMadeOnTheWay)
{
    ConfigurationBlocks b = ValidConfiguration();
    b.open.organisationCode[9] = 'X';
    b.open.contract[9] = 'Y';
    b.tunes.dbStart[1] = {31, 4, 0, 23};
    // БД1 ТВ1: "dt min" 3 °C with dt control offered.
    In(b, 0, 0).SetDeltaTMin(1);
    // БД1 ТВ2: scheme 1 row 5 offers no dM control.
    SetScheme(b, 0, 1, 1, 4);
    In(b, 0, 1).SetImbalanceControl(7);
    // БД2 ТВ1: scheme 12 computes no heat and offers no dt control; scheme 12 row 2 (КТ3 1) gives pipe 3
    // no pressure below level 517.
    SetScheme(b, 1, 0, 12, 1);
    In(b, 1, 0).SetHeatControl(3);
    In(b, 1, 0).SetDeltaTControl(2);
    In(b, 1, 0).SetDeltaTMin(1);
    Pipe(b, 1, 0, 2).SetPressureSensor(true);
    Pipe(b, 1, 0, 2).flags |= 0xAB00;  // reserved bits of the flags
    // БД2 ТВ2: unused, filled with junk.
    In(b, 1, 1).word = 0xFFFFFFFF;
    Pipe(b, 1, 1, 0).pulseWeight = -5.0f;

    RecordingMessageHost host;
    ASSERT_TRUE(ValidateTunes(b, host)) << host.LastText().toStdString();
    EXPECT_EQ(b.open.organisationCode[9], 0);
    EXPECT_EQ(b.open.contract[9], 0);
    EXPECT_EQ(b.tunes.dbStart[1].day, 15);
    EXPECT_EQ(In(b, 0, 0).DeltaTMin(), 0u);
    EXPECT_EQ(In(b, 0, 1).ImbalanceControl(), 0u);
    EXPECT_EQ(In(b, 1, 0).HeatControl(), 0u);
    EXPECT_EQ(In(b, 1, 0).DeltaTControl(), 0u);
    EXPECT_EQ(In(b, 1, 0).DeltaTMin(), 0u);
    EXPECT_FALSE(Pipe(b, 1, 0, 2).PressureSensor());
    EXPECT_EQ(Pipe(b, 1, 0, 2).flags & 0xFF00, 0xAB00);
    EXPECT_EQ(In(b, 1, 1).Kt3(), 4u);
    EXPECT_EQ(In(b, 1, 1).Frt(), 11u);
    EXPECT_EQ(In(b, 1, 1).word >> 7, 1u << (21 - 7));
    EXPECT_EQ(float(Pipe(b, 1, 1, 0).pulseWeight), 1.0f);
}

TEST(ValidateTunes, PressureSensorOfPipe3StaysFromLevel517)
{
    ConfigurationBlocks b = ValidConfiguration();
    b.identity.firmwareLevel = 517;
    Pipe(b, 0, 0, 2).SetPressureSensor(true);
    RecordingMessageHost host;
    ASSERT_TRUE(ValidateTunes(b, host)) << host.LastText().toStdString();
    EXPECT_TRUE(Pipe(b, 0, 0, 2).PressureSensor());
    b.identity.firmwareLevel = 516;
    ASSERT_TRUE(ValidateTunes(b, host));
    EXPECT_FALSE(Pipe(b, 0, 0, 2).PressureSensor());
}

TEST(ValidateTunes, StartDatesAreRepairedOnlyOnceTheInputsAreKnownToBeThere)
{
    ConfigurationBlocks b = ValidConfiguration();
    b.tunes.dbStart[0] = {0, 0, 0, 23};
    In(b, 0, 0).scheme = 0;  // S5 fails before the repair
    RecordingMessageHost host;
    EXPECT_FALSE(ValidateTunes(b, host));
    EXPECT_EQ(b.tunes.dbStart[0].month, 0);

    SetScheme(b, 0, 0, 1);
    b.tunes.SetSensorType(5);  // S9 fails after it
    EXPECT_FALSE(ValidateTunes(b, host));
    EXPECT_EQ(b.tunes.dbStart[0].month, 10);
    EXPECT_EQ(b.tunes.dbStart[0].day, 15);
}

}  // namespace
