// The checks of one thermal input of one parameter set: scheme and combination, control fields and the
// use of the spare temperature channels by tx and tнв.

#include "config/model_capabilities.h"
#include "config/pressure_units.h"
#include "config/scheme_table.h"
#include "config/tunes_checks.h"
#include "config/tunes_defaults.h"

namespace {

// Formulas that take the cold-water enthalpy hx and so need a tx.
bool NeedsColdWater(unsigned frt)
{
    return frt == 1 || (frt >= 3 && frt <= 7);
}

bool MeasuresT3(unsigned kt3)
{
    return kt3 == 2 || kt3 == 3;
}

bool CheckRanges(const TunesCheck& check, const InputSettings& in, int t, int k)
{
    if (in.maxImbalance < 0)
        return check.Fail(QString::asprintf("Задано отрицательное значение дисбаланса для ТВ%d в БД%d!", t, k));
    // As the user reads them: the percent sign right after the bound, "гр.С" after a space. A dM max that
    // is not a number fails here.
    if (!(in.maxImbalance <= 4.0f))
        return check.Fail(QString::asprintf("Максимальный дисбаланс может быть задан в пределах %f-%f%% (ТВ%d в БД%d)!",
                                            0.0, 4.0, t, k));
    if (OutsideRange(in.contractColdTemperature, 0.0f, 99.9f))
        return check.Fail(QString::asprintf(
            "Договорное значение tx может быть задано в пределах %f-%f гр.С (ТВ%d в БД%d)!", 0.0, 99.9, t, k));
    if (OutsideRange(in.contractColdPressure, kPressureMinMpa, kPressureMaxMpa)) {
        const double low = check.ShownPressure(kPressureMinMpa);
        const double high = check.ShownPressure(kPressureMaxMpa);
        return check.Fail(QString::asprintf(
            check.mks ? "Договорное значение Px может быть задано в пределах %.3f-%.3f кгс/см2 (ТВ%d в БД%d)!"
                      : "Договорное значение Px может быть задано в пределах %.3f-%.3f МПа (ТВ%d в БД%d)!",
            low, high, t, k));
    }
    return true;
}

// The control fields; those the combination does not offer are cleared instead of checked.
bool CheckControlFields(const TunesCheck& check, InputSettings& in, const SchemeCombination& row, int t, int k)
{
    if (in.TemperatureControl() & 2)
        return check.Fail(QString::asprintf("Недопустимый тип обработки НС по t для ТВ%d в БД%d!", t, k));
    if (!row.DmControlOffered())
        in.SetImbalanceControl(0);
    else if (in.ImbalanceControl() >= 5)
        return check.Fail(QString::asprintf("Недопустимый тип обработки НС по dM для ТВ%d в БД%d!", t, k));
    if (!SchemeComputesHeat(in.scheme))
        in.SetHeatControl(0);
    else if (in.HeatControl() >= 4)
        return check.Fail(QString::asprintf("Недопустимый тип обработки НС по Q для ТВ%d в БД%d!", t, k));
    // "dt min" always goes to the meter as 2 °C.
    in.SetDeltaTMin(0);
    if (!row.DtControlOffered())
        in.SetDeltaTControl(0);
    else if (in.DeltaTControl() >= 3)
        return check.Fail(QString::asprintf("Недопустимый тип обработки НС по dt для ТВ%d в БД%d!", t, k));
    return true;
}

// tx and tнв may share a spare channel with nothing else: pipe 3's t3, the other's tx or tнв.
bool CheckSpareChannels(const TunesCheck& check, const DbSettings& db, int input, int k)
{
    const InputSettings& in = db.inputs[input];
    const int other = 1 - input;
    const InputSettings& otherIn = db.inputs[other];
    const int t = input + 1;
    const bool ownSpare = HasSpareTemperatureChannel(check.model, input);
    const bool otherSpare = HasSpareTemperatureChannel(check.model, other);

    if (in.ColdWaterUse() >= 4)
        return check.Fail(QString::asprintf("Недопустимое значение использование tx ТВ%d в БД%d!", t, k));
    if (in.OutdoorAirMeasured()) {
        if (!ownSpare)
            return check.Fail(
                QString::asprintf("Задано измерение tнв в ТВ%d в БД%d, но в данной модели вычислителя "
                                  "отсутствует измерительный канал!",
                                  t, k));
        if (MeasuresT3(in.Kt3()))
            return check.Fail(
                QString::asprintf("Задано измерение tнв в ТВ%d в БД%d, но канал уже занят измерением t3!", t, k));
        if (in.ColdWaterUse() == 2)
            return check.Fail(QString::asprintf(
                "Задано измерение tнв в ТВ%d в БД%d, но канал уже занят измерением tx ТВ%d!", t, k, t));
        if (otherIn.ColdWaterUse() == 3)
            return check.Fail(QString::asprintf(
                "Задано измерение tнв в ТВ%d в БД%d, но канал уже занят измерением tx ТВ%d!", t, k, other + 1));
    }
    if (!NeedsColdWater(in.Frt()))
        return true;
    if (in.ColdWaterUse() == 2) {
        if (!ownSpare)
            return check.Fail(
                QString::asprintf("Задано измерение tx в ТВ%d в БД%d, но в данной модели вычислителя "
                                  "отсутствует измерительный канал!",
                                  t, k));
        if (MeasuresT3(in.Kt3()))
            return check.Fail(
                QString::asprintf("Задано измерение tx в ТВ%d в БД%d, но канал уже занят измерением t3!", t, k));
        if (in.OutdoorAirMeasured())
            return check.Fail(
                QString::asprintf("Задано измерение tx в ТВ%d в БД%d, но канал уже занят измерением tнв!", t, k));
    }
    if (in.ColdWaterUse() == 3) {
        const int channel = input == 0 ? 6 : 3;  // R6 is ТВ2's spare channel, R3 ТВ1's
        const bool otherHasScheme = otherIn.scheme != 0;
        if (!otherSpare)
            return check.Fail(
                QString::asprintf("Задано измерение tx в ТВ%d в БД%d (на канале R%d), но в данной модели "
                                  "вычислителя отсутствует измерительный канал!",
                                  t, k, channel));
        if (otherHasScheme && MeasuresT3(otherIn.Kt3()))
            return check.Fail(
                QString::asprintf("Задано измерение tx в ТВ%d в БД%d (на канале R%d), но канал уже занят "
                                  "измерением t3 ТВ%d!",
                                  t, k, channel, other + 1));
        if (otherHasScheme && otherIn.OutdoorAirMeasured())
            return check.Fail(
                QString::asprintf("Задано измерение tx в ТВ%d в БД%d (на канале R%d), но канал уже занят "
                                  "измерением tнв ТВ%d!",
                                  t, k, channel, other + 1));
    }
    return true;
}

bool CheckInput(TunesCheck& check, int db, int input)
{
    DbSettings& settings = check.blocks.tunes.db[db];
    InputSettings& in = settings.inputs[input];
    const int t = input + 1;
    const int k = db + 1;

    if (in.scheme > kMaxScheme)
        return check.Fail(QString::asprintf("Недопустимая схема измерения для ТВ%d в БД%d!", t, k));
    if (in.scheme == 0) {
        // An unused input goes to the meter in its default state.
        MakeDefaultInput(settings, input, check.model);
        return true;
    }
    if (!CheckRanges(check, in, t, k))
        return false;
    const int row = FindCombination(in.scheme, in.Kt3(), in.Frt());
    if (row < 0)
        return check.Fail(
            QString::asprintf("Недопустимое сочетание параметров КТ3 и ФРТ для ТВ%d в БД%d (КТ3=%d и ФРТ=%d)!", t, k,
                              in.Kt3(), in.Frt()));
    const SchemeCombination& combination = *CombinationAt(in.scheme, row);
    if (!combination.AllowsModel(check.model, input))
        return check.FailInformation(
            QString::asprintf("Выбранное сочетание СИ, КТ3 и ФРТ недопустимо для вычислителя модели %s (БД%d, ТВ%d)!",
                              qUtf8Printable(ModelName(check.model)), k, t));
    return CheckControlFields(check, in, combination, t, k) && CheckSpareChannels(check, settings, input, k)
        && CheckPipes(check, db, input);
}

}  // namespace

// Both inputs of a set are examined even when the first has no scheme: ТВ2 may be in use alone.
bool CheckInputs(TunesCheck& check)
{
    for (int db = 0; db < kDbCount; ++db) {
        for (int input = 0; input < kInputCount; ++input) {
            if (!CheckInput(check, db, input))
                return false;
        }
    }
    return true;
}
