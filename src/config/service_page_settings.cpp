#include "config/service_page_settings.h"

#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "config/model_capabilities.h"

namespace {

constexpr int kBatteryTypes = 3;
constexpr int kVariants = 3;

SettingsSection Service(SettingsStore& store)
{
    return SettingsSection(store, SettingsSections::kService);
}

SettingValue<int> StandPort(SettingsStore& store)
{
    return SettingsSection(store, SettingsSections::kProgram).Value(QStringLiteral("CommRkm8"), 1);
}

int InRange(int value, int count, int fallback)
{
    return value >= 0 && value < count ? value : fallback;
}

}  // namespace

ServicePageEntries LoadServicePageEntries(SettingsStore& store)
{
    const SettingsSection section = Service(store);
    ServicePageEntries entries;
    entries.makerId = section.Value(QStringLiteral("ManufactureID"), QString()).Get();
    entries.makerSerial = section.Value(QStringLiteral("ManufactureSerial"), QString()).Get();
    entries.model = InRange(section.Value(QStringLiteral("ManufactureModel"), kDefaultModel).Get(), kModelCount,
                            kDefaultModel);
    entries.voltage = section.Value(QStringLiteral("UCalibrWrite"), QString()).Get();
    entries.displaySerial = section.Value(QStringLiteral("ServicecenterSerial"), QString()).Get();
    entries.battery = InRange(section.Value(QStringLiteral("ServicecenterBattery"), 0).Get(), kBatteryTypes, 0);
    entries.variant = InRange(section.Value(QStringLiteral("ServicecenterVedType"), 0).Get(), kVariants, 0);
    return entries;
}

bool StoreMakerEntries(SettingsStore& store, const ServicePageEntries& entries)
{
    const SettingsSection section = Service(store);
    return section.Value(QStringLiteral("ManufactureID"), QString()).Set(entries.makerId)
        && section.Value(QStringLiteral("ManufactureSerial"), QString()).Set(entries.makerSerial)
        && section.Value(QStringLiteral("ManufactureModel"), kDefaultModel).Set(entries.model)
        && section.Value(QStringLiteral("UCalibrWrite"), QString()).Set(entries.voltage);
}

bool StoreServiceCentreEntries(SettingsStore& store, const ServicePageEntries& entries)
{
    const SettingsSection section = Service(store);
    return section.Value(QStringLiteral("ServicecenterSerial"), QString()).Set(entries.displaySerial)
        && section.Value(QStringLiteral("ServicecenterBattery"), 0).Set(entries.battery)
        && section.Value(QStringLiteral("ServicecenterVedType"), 0).Set(entries.variant);
}

int LoadStandPort(SettingsStore& store)
{
    return StandPort(store).Get();
}

bool StoreStandPort(SettingsStore& store, int portNumber)
{
    return StandPort(store).Set(portNumber);
}
