#pragma once
// What the archives page remembers between runs, section "Settings\ReadArch": the last archive date
// asked for, the periodic reading of current values, the event-log range and the flash page.

#include "base/setting_value.h"
#include "meter/archive_date.h"

struct ReadArchSettings {
    explicit ReadArchSettings(SettingsStore& store);

    // The stored date, brought into the calendar (a hand-edited file may hold anything): the year into
    // what the year byte can hold, the month into 1..12, the day into the month, the hour into 0..23.
    TChronoArch ArchiveDate() const;
    void StoreArchiveDate(const TChronoArch& date) const;

    SettingValue<int> day;
    SettingValue<int> month;
    SettingValue<int> year;  // four digits
    SettingValue<int> hour;  // also the "Час:" choice
    SettingValue<int> checkReadPeriod;
    SettingValue<QString> readPeriod;  // seconds
    SettingValue<QString> record;      // first event-log record
    SettingValue<QString> recordCount;
    SettingValue<QString> flashPage;

private:
    SettingsStore& m_store;
};
