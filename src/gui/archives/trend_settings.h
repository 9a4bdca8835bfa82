#pragma once
// What the trends page remembers between runs ("Settings\Trends"): the archive chosen last and the
// quantities checked, as the keys of TrendQuantities() separated by commas.

#include "base/setting_value.h"
#include "base/settings_sections.h"

struct TrendSettings {
    explicit TrendSettings(SettingsStore& store)
        : archive(SettingsSection(store, SettingsSections::kTrends).Value(QStringLiteral("Archive"), 0)),
          quantities(SettingsSection(store, SettingsSections::kTrends)
                         .Value(QStringLiteral("Quantities"), QStringLiteral("t1_1,t1_2,V1_1,Qwi_1")))
    {}

    SettingValue<int> archive;         // 0 hourly, 1 daily, 2 monthly
    SettingValue<QString> quantities;  // t1, t2, V1 and Qтв ТВ1 until the user chooses
};
