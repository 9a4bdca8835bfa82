#include "meter/register_map.h"

#include <algorithm>
#include <array>

namespace {

using enum MeterArea;

// Kept in the order of MeterArea, so that a row is found by its index.
constexpr std::array<AreaEntry, kMeterAreaCount> kAreas = {{
    //                          register  <512  512-514  515+
    {kIdentity, 0, 38, 38, 38},
    {kMakerData, 35, 6, 14, 14},
    {kServiceCentreData, 67, 28, 28, 28},
    {kArchiveRequest, 99, 12, 12, 12},
    {kTunes, 105, 574, 510, 510},
    {kOpenSettings, 2153, 22, 22, 22},
    {kServiceCommand, 2665, 8, 8, 8},
    {kTunesChecksum, 2669, 8, 8, 8},
    {kOpenChecksum, 2673, 6, 6, 6},
    {kDescriptorDates, 2676, 54, 54, 54},
    {kDescriptorCapacities, 2708, 38, 38, 38},
    {kArchiveRecord, 2740, 206, 208, 218},
    {kTotalsRecord, 2868, 220, 220, 232},
    {kDescriptorEventLogs, 2996, 24, 24, 24},
    {kEventLogDbChanges, 3028, 256, 256, 256},
    {kEventLogAdministrative, 3156, 256, 256, 256},
    {kEventLogDiagnostics, 3284, 256, 256, 256},
    {kCurrentTotals, 3412, 222, 222, 222},
    {kCurrentValues, 3540, 222, 222, 222},
    {kFlashPage, 3668, 256, 256, 256},
    {kParameterChange, 3796, 10, 10, 10},
    {kControls, 3801, 0, 64, 64},
}};

constexpr bool RowsInOrder()
{
    for (int i = 0; i < kMeterAreaCount; ++i) {
        if (static_cast<int>(kAreas[i].area) != i)
            return false;
    }
    return true;
}
static_assert(RowsInOrder());

}  // namespace

const AreaEntry& AreaOf(MeterArea area)
{
    return kAreas[static_cast<std::size_t>(area)];
}

int AreaRegister(MeterArea area)
{
    return AreaOf(area).firstRegister;
}

int AreaOffset(MeterArea area)
{
    return 2 * AreaRegister(area);
}

int AreaSize(MeterArea area, std::uint16_t firmwareLevel)
{
    const AreaEntry& entry = AreaOf(area);
    if (firmwareLevel < kLevelSeparateControls)
        return entry.bytesBefore512;
    return firmwareLevel < kLevelLongRecords ? entry.bytesFrom512 : entry.bytesFrom515;
}

int AreaCapacity(MeterArea area)
{
    const AreaEntry& entry = AreaOf(area);
    return std::max({entry.bytesBefore512, entry.bytesFrom512, entry.bytesFrom515});
}
