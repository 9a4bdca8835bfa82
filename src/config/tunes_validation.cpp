#include "config/tunes_validation.h"

#include "config/model_capabilities.h"
#include "config/pressure_units.h"
#include "config/tunes_checks.h"
#include "config/tunes_defaults.h"

namespace {

bool HasAnyScheme(const DbSettings& db)
{
    return db.inputs[0].scheme != 0 || db.inputs[1].scheme != 0;
}

bool CheckSystem(TunesCheck& check)
{
    TunesRecord& tunes = check.blocks.tunes;
    if (check.model >= kModelCount)
        return check.Fail(
            QString::asprintf("Недопустимое значения настройки \"Система: модель t\" (%d)!", check.model));
    if (tunes.reportHour > kLastReportHour)
        return check.Fail(
            QString::asprintf("Недопустимое значения настройки \"Система: Отч.час\" (%d)!", tunes.reportHour));
    if (tunes.reportDay < kFirstReportDay || tunes.reportDay > kLastReportDay)
        return check.Fail(
            QString::asprintf("Недопустимое значения настройки \"Система: Отч.сутки\" (%d)!", tunes.reportDay));

    const bool db1Used = HasAnyScheme(tunes.db[0]);
    if (tunes.Db2Used()) {
        if (!HasAnyScheme(tunes.db[1]))
            return check.Fail("Задано использование БД1 и БД2, но в БД2 тепловые вводы не задействованы!");
        if (!db1Used)
            return check.Fail("Задано использование БД1 и БД2, но в БД1 тепловые вводы не задействованы!");
    } else if (!db1Used) {
        return check.Fail("В БД1 тепловые вводы не задействованы!");
    }

    RepairDbStartDates(tunes);

    if (tunes.Db2Used()) {
        if (tunes.DbChangeMethod() & 2)
            return check.Fail(QString::asprintf(
                "Недопустимое значения настройки \"Система: способ смены акт. БД\" (%d)!", tunes.DbChangeMethod()));
        if (tunes.KeyboardAccess() >= 3)
            return check.Fail(QString::asprintf("Недопустимое значения настройки \"Система: смена с клавиатуры\" (%d)!",
                                                tunes.KeyboardAccess()));
        if (tunes.PcAccess() >= 3)
            return check.Fail(QString::asprintf("Недопустимое значения настройки \"Система: смена по сети\" (%d)!",
                                                tunes.PcAccess()));
    }
    if (tunes.SensorType() >= 4)
        return check.Fail(
            QString::asprintf("Недопустимое значения настройки \"Система: тип датчиков t\" (%d)!", tunes.SensorType()));
    return true;
}

}  // namespace

bool TunesCheck::Fail(const QString& text) const
{
    ShowConfigWarning(host, text);
    return false;
}

bool TunesCheck::FailInformation(const QString& text) const
{
    ShowConfigInformation(host, text);
    return false;
}

double TunesCheck::ShownPressure(float mpa) const
{
    return PressureToDisplay(mpa, mks ? kUnitSystemMks : kUnitSystemSi);
}

bool ValidateTunes(ConfigurationBlocks& blocks, ConfigMessageHost& host)
{
    // The texts are nine characters long whatever was typed or read.
    blocks.open.organisationCode[kOpenTextSize - 1] = 0;
    blocks.open.contract[kOpenTextSize - 1] = 0;

    TunesCheck check{blocks, host, blocks.identity.modelIndex, blocks.tunes.UnitSystem() == kUnitSystemMks};
    return CheckSystem(check) && CheckInputs(check) && CheckExtraInput(check) && CheckControls(check);
}
