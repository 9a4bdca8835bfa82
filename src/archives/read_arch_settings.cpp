#include "archives/read_arch_settings.h"

#include "base/settings_sections.h"

#include <algorithm>

namespace {

SettingsSection Section(SettingsStore& store)
{
    return SettingsSection(store, SettingsSections::kReadArch);
}

}  // namespace

ReadArchSettings::ReadArchSettings(SettingsStore& store)
    : day(Section(store).Value(QStringLiteral("Day"), 1)),
      month(Section(store).Value(QStringLiteral("Month"), 1)),
      year(Section(store).Value(QStringLiteral("Year"), 2011)),
      hour(Section(store).Value(QStringLiteral("Hour"), 23)),
      checkReadPeriod(Section(store).Value(QStringLiteral("CheckReadPeriod"), 0)),
      readPeriod(Section(store).Value(QStringLiteral("ReadPeriod"), QStringLiteral("6"))),
      record(Section(store).Value(QStringLiteral("Record"), QStringLiteral("0"))),
      recordCount(Section(store).Value(QStringLiteral("RecCnt"), QStringLiteral("1"))),
      flashPage(Section(store).Value(QStringLiteral("FlashPage"), QStringLiteral("2"))),
      m_store(store)
{}

TChronoArch ReadArchSettings::ArchiveDate() const
{
    TChronoArch date{};
    date.year = static_cast<std::uint8_t>(std::clamp(year.Get() - kBaseYear, 0, 0xFE));
    date.month = static_cast<std::uint8_t>(std::clamp(month.Get(), 1, 12));
    date.day = static_cast<std::uint8_t>(std::clamp(day.Get(), 1, MonthLength(date.month, date.year)));
    date.hour = static_cast<std::uint8_t>(std::clamp(hour.Get(), 0, 23));
    return date;
}

void ReadArchSettings::StoreArchiveDate(const TChronoArch& date) const
{
    SettingsStore::Batch batch(m_store);
    day.Set(date.day);
    month.Set(date.month);
    year.Set(date.year + kBaseYear);
    hour.Set(date.hour);
}
