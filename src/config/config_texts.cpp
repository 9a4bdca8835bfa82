#include "config/config_texts.h"

namespace {

constexpr ValueText kModels[] = {
    {0, "01", "01"}, {1, "02", "02"}, {2, "03", "03"}, {3, "04", "04"}, {4, "04.1", "04.1"},
};

constexpr ValueText kDb2Use[] = {
    {0, "Нет", "Нет"},
    {1, "Да", "Да"},
};

constexpr ValueText kDbChangeMethod[] = {
    {0, "Вручную", "Вручную"},
    {1, "Автоматич.по дате", "Авто,по дате"},
};

constexpr ValueText kDbAccess[] = {
    {0, "Запрет", "Запрет"},
    {1, "С паролем", "С паролем"},
    {2, "С Доступом", "С Доступом"},
};

constexpr ValueText kUnitSystem[] = {
    {0, "СИ", "СИ"},
    {1, "МКС", "МКС"},
};

constexpr ValueText kSensorType[] = {
    {0, "100П a=0.00391 (W=1.391)", "100П"},
    {1, "500П a=0.00391 (W=1.391)", "500П"},
    {2, "Pt100 a=0.00385 (W=1.385)", "Pt100"},
    {3, "Pt500 a=0.00385 (W=1.385)", "Pt500"},
};

constexpr ValueText kTemperatureControl[] = {
    {0, "С подстановками", "С подст."},
    {1, "Счет отменен", "Счет отм."},
};

constexpr ValueText kImbalanceControl[] = {
    {0, "Нет", "Нет"},
    {1, "Без подст.1", "Без подст.1"},
    {2, "Без подст.2", "Без подст.2"},
    {3, "С подст.1", "С подст.1"},
    {4, "С подст.2", "С подст.2"},
};

constexpr ValueText kHeatControl[] = {
    {0, "Нет", "Нет"},
    {1, "Без подст.", "Без подст."},
    {2, "С подст.", "С подст."},
    {3, "Счет отмен.", "Счет отм."},
};

constexpr ValueText kDeltaTControl[] = {
    {0, "Без подстановок", "Без подст."},
    {1, "С подстановками", "С подст."},
    {2, "Счет отменён", "Счет отм."},
};

constexpr ValueText kDeltaTMin[] = {
    {0, "2", "2"},
    {1, "3", "3"},
};

// Value 2 is the input's own spare channel, 3 the other input's: X3 belongs to ТВ1, X4 to ТВ2.
constexpr ValueText kColdWaterUseTv1[] = {
    {0, "Не исп.", "Не исп."},
    {1, "Договорная", "Догов."},
    {2, "Измеряется на X3", "Изм.на X3"},
    {3, "Измеряется на X4", "Изм.на X4"},
};

constexpr ValueText kColdWaterUseTv2[] = {
    {0, "Не исп.", "Не исп."},
    {1, "Договорная", "Догов."},
    {2, "Измеряется на X4", "Изм.на X4"},
    {3, "Измеряется на X3", "Изм.на X3"},
};

constexpr ValueText kOutdoorAir[] = {
    {0, "Не измеряется", "Не изм."},
    {1, "Измеряется", "Изм."},
};

constexpr ValueText kVolumeControl[] = {
    {0, "Нет", "Нет"},
    {1, "Без подст.", "Без подст."},
    {2, "С подст.", "С подст."},
    {3, "С подст.и кон.U", "С подст.и кон.U"},
    {4, "Счет отменен", "Счет отменен"},
};

// The report's "Cеть(общ)" and "Инд.(PC)" are written with Latin C and PC, as the meter's papers have them.
constexpr ValueText kPowerControl[] = {
    {0, "Нет", "Нет"},
    {1, "Сеть(общий)", "Cеть(общ)"},
    {2, "Индивид.\"РС\"", "Инд.(PC)"},
};

constexpr ValueText kPressureSensor[] = {
    {0, "Нет", "Нет"},
    {1, "Есть", "Есть"},
};

constexpr ValueText kFlowMeterType[] = {
    {0, "Механич.", "Механич."},
    {1, "Электрон.", "Электрон."},
};

constexpr ValueText kExtraUse[] = {
    {0, "Нет", "Нет"},
    {1, "Контр. сети", "Контр.сети"},
    {2, "Счет импульсов", "Счет имп."},
    {3, "Сигнализация", "Сигнал-ия"},
};

constexpr ValueText kAlarmLevel[] = {
    {0, "Норм.разомкн.", "НР"},
    {1, "Норм.замкн.", "НЗ"},
};

constexpr ValueText kExtraUnits[] = {
    {0, "м3", "м3"},
    {1, "кВт*ч", "кВт*ч"},
};

constexpr ValueText kControlKind[] = {
    {0, "Не используется", "Не используется"},
    {1, "Труба", "Труба"},
    {2, "ТВ", "ТВ"},
    {3, "Доп. параметр", "Доп. параметр"},
};

constexpr ValueText kPipeParameter[] = {
    {0, "tтек.", "tтек."}, {1, "Pтек.", "Pтек."}, {2, "Gо тек.", "Gо тек."}, {3, "Фтек.", "Фтек."},
    {4, "tч.", "tч."},     {5, "Pч.", "Pч."},     {6, "Vч.", "Vч."},
};

// Index 5 is a valid input parameter that has no text.
constexpr ValueText kInputParameter[] = {
    {0, "dtтек.", "dtтек."}, {1, "dtч.", "dtч."}, {2, "dMч.", "dMч."},
    {3, "Q12ч.", "Q12ч."},   {4, "Qгч.", "Qгч."}, {5, "", ""},
};

constexpr ValueText kExtraParameter[] = {
    {0, "Зн.тек.", "Зн.тек."},
    {1, "Зн.ч.", "Зн.ч."},
};

}  // namespace

const ValueTexts kModelNames = kModels;
const ValueTexts kDb2UseTexts = kDb2Use;
const ValueTexts kDbChangeMethodTexts = kDbChangeMethod;
const ValueTexts kDbAccessTexts = kDbAccess;
const ValueTexts kUnitSystemTexts = kUnitSystem;
const ValueTexts kSensorTypeTexts = kSensorType;
const ValueTexts kTemperatureControlTexts = kTemperatureControl;
const ValueTexts kImbalanceControlTexts = kImbalanceControl;
const ValueTexts kHeatControlTexts = kHeatControl;
const ValueTexts kDeltaTControlTexts = kDeltaTControl;
const ValueTexts kDeltaTMinTexts = kDeltaTMin;
const ValueTexts kColdWaterUseTexts[2] = {kColdWaterUseTv1, kColdWaterUseTv2};
const ValueTexts kOutdoorAirTexts = kOutdoorAir;
const ValueTexts kVolumeControlTexts = kVolumeControl;
const ValueTexts kPowerControlTexts = kPowerControl;
const ValueTexts kPressureSensorTexts = kPressureSensor;
const ValueTexts kFlowMeterTypeTexts = kFlowMeterType;
const ValueTexts kExtraUseTexts = kExtraUse;
const ValueTexts kAlarmLevelTexts = kAlarmLevel;
const ValueTexts kExtraUnitsTexts = kExtraUnits;
const ValueTexts kControlKindTexts = kControlKind;
const ValueTexts kControlParameterTexts[4] = {ValueTexts(), kPipeParameter, kInputParameter, kExtraParameter};
