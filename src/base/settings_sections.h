#pragma once
// The sections of the settings store, spelled once. Each subsystem keeps its keys in its own section.

#include <QLatin1String>

namespace SettingsSections {
inline constexpr QLatin1String kProgram("Settings\\Settings");  // program options, maker's service page
inline constexpr QLatin1String kScreen("Settings\\Screen");     // one child section per window name
inline constexpr QLatin1String kIoMonitor("Settings\\View\\IoMonitor");
inline constexpr QLatin1String kFile("Settings\\File");  // settings files of the meter
inline constexpr QLatin1String kReadArch("Settings\\ReadArch");
inline constexpr QLatin1String kService("Settings\\Service");
inline constexpr QLatin1String kPorts("Settings\\Ports");        // the port table: "COM3=/dev/ttyUSB0"
inline constexpr QLatin1String kDatabase("Settings\\Database");  // where archives are exported
inline constexpr QLatin1String kTrends("Settings\\Trends");      // the trends page: archive, quantities
}  // namespace SettingsSections
