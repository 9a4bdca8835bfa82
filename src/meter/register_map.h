#pragma once
// Where each area of the meter lies in its register space and how large it is at each firmware level.
// The driver keeps one image of the whole space (register N is the little-endian word at byte 2N) and
// moves areas by naming their place in it.
//
//   reg  bytes            area                        reg  bytes            area
//     0  38               identity                   2740  206/208/218      archive record answer
//    35  6/14             maker data                 2868  220/232          totals record answer
//    67  28               service-centre data        2996  24               descriptors, event logs
//    99  12               archive request, password  3028  up to 256        event log: DB changes
//   105  574/510          configuration record       3156  up to 256        event log: administrative
//  2153  22               open settings              3284  up to 256        event log: diagnostics
//  2665  8                service command            3412  222              current totals
//  2669  8                record checksum            3540  222              current values (clock first)
//  2673  6                open-settings checksum     3668  256              flash page window
//  2676  54               descriptors, dates         3796  10               parameter change
//  2708  38               descriptors, capacities    3801  64 (from 512)    controls

#include <cstdint>

inline constexpr int kImageRegisterCount = 4213;
inline constexpr int kImageByteCount = 2 * kImageRegisterCount;

// Firmware levels (identity offset 20) at which the layouts change.
inline constexpr std::uint16_t kLevelSeparateControls = 512;  // 510-byte record, controls apart, 14-byte maker data
inline constexpr std::uint16_t kLevelLongRecords = 515;       // 218-byte archive and 232-byte totals records
inline constexpr std::uint16_t kLevelClockCode9 = 521;        // the clock is set with service code 9

enum class MeterArea : int {
    kIdentity,
    kMakerData,
    kServiceCentreData,
    kArchiveRequest,  // also the password block
    kTunes,
    kOpenSettings,
    kServiceCommand,
    kTunesChecksum,
    kOpenChecksum,
    kDescriptorDates,
    kDescriptorCapacities,
    kArchiveRecord,
    kTotalsRecord,
    kDescriptorEventLogs,
    kEventLogDbChanges,
    kEventLogAdministrative,
    kEventLogDiagnostics,
    kCurrentTotals,
    kCurrentValues,
    kFlashPage,
    kParameterChange,
    kControls,
};
inline constexpr int kMeterAreaCount = static_cast<int>(MeterArea::kControls) + 1;

// The receive area of an event log (0 database changes, 1 administrative, 2 diagnostics, as the request's
// kind numbers them); the first log's for a number outside them.
constexpr MeterArea EventLogReceiveArea(int log)
{
    switch (log) {
        case 1:
            return MeterArea::kEventLogAdministrative;
        case 2:
            return MeterArea::kEventLogDiagnostics;
        default:
            return MeterArea::kEventLogDbChanges;
    }
}

// One row of the map: the first register and the size in bytes below level 512, from 512 to 514 and
// from 515 on. A size of 0 means the area is not addressed at that level.
struct AreaEntry {
    MeterArea area;
    std::uint16_t firstRegister;
    std::uint16_t bytesBefore512;
    std::uint16_t bytesFrom512;
    std::uint16_t bytesFrom515;
};

const AreaEntry& AreaOf(MeterArea area);
int AreaRegister(MeterArea area);
// Byte offset of the area in the image.
int AreaOffset(MeterArea area);
// Bytes the meter of this firmware level transfers for the area.
int AreaSize(MeterArea area, std::uint16_t firmwareLevel);
// The largest size of the area at any level.
int AreaCapacity(MeterArea area);

// Archive, current-values and event-log answers each have a 128-register slot; a read clears it first
// so that a short answer leaves no stale bytes behind.
inline constexpr int kAnswerSlotBytes = 256;

// The service command that sets the clock.
inline std::uint16_t ClockCommandCode(std::uint16_t firmwareLevel)
{
    return firmwareLevel < kLevelClockCode9 ? 6 : 9;
}
