#pragma once
// Where the meter keeps each area of its register space and how large the areas are at a firmware
// level. Register N is the 16-bit word at byte 2·N of the image.
//
//    0 identity (38, read)             2676 descriptors: dates (54)     3284 log: diagnostics
//   35 maker data (6 or 14)            2708 descriptors: capacities (38) 3412 current totals (222)
//   67 service-centre data (28)        2740 archive record (up to 256)  3540 current values (222)
//   99 request / password block (12)   2868 totals record (up to 256)   3668 flash page window (256)
//  105 configuration record (510/574)  2996 descriptors: logs (24)      3796 parameter change (10)
// 2153 open settings (22)              3028 log: DB changes (256)       3801 controls (64, from 512)
// 2665 service command (8)             3156 log: administrative (256)
// 2669 record checksum (8), 2673 open-settings checksum (6)

#include <cstdint>

class MeterImage;
struct ArchiveRequest;

namespace MeterRegister {
constexpr int kIdentity = 0;
constexpr int kMakerData = 35;
constexpr int kServiceCentre = 67;
constexpr int kRequest = 99;
constexpr int kTunes = 105;
constexpr int kOpenSettings = 2153;
constexpr int kServiceCommand = 2665;
constexpr int kTunesChecksum = 2669;
constexpr int kOpenChecksum = 2673;
constexpr int kDescriptorDates = 2676;
constexpr int kDescriptorCapacities = 2708;
constexpr int kArchiveRecord = 2740;
constexpr int kTotalsRecord = 2868;
constexpr int kDescriptorLogs = 2996;
constexpr int kEventLogs[3] = {3028, 3156, 3284};
constexpr int kCurrentTotals = 3412;
constexpr int kCurrentValues = 3540;
constexpr int kFlashPage = 3668;
constexpr int kParameterChange = 3796;
constexpr int kControls = 3801;

constexpr int kIdentityBytes = 38;
constexpr int kDescriptorDatesBytes = 54;
constexpr int kDescriptorCapacitiesBytes = 38;
constexpr int kDescriptorLogsBytes = 24;
constexpr int kServiceCentreBytes = 28;
constexpr int kRequestBytes = 12;
constexpr int kOpenSettingsBytes = 22;
constexpr int kServiceCommandBytes = 8;
constexpr int kTunesChecksumBytes = 8;
constexpr int kOpenChecksumBytes = 6;
constexpr int kAnswerAreaBytes = 256;  // archive and totals records, each event log, the flash page
constexpr int kCurrentAreaBytes = 222;
constexpr int kParameterChangeBytes = 10;
constexpr int kControlsBytes = 64;
}  // namespace MeterRegister

// Byte offset of a register in the image.
constexpr int ByteOffset(int registerNumber) { return 2 * registerNumber; }
// Registers that hold `bytes` bytes.
constexpr int RegistersFor(int bytes) { return (bytes + 1) / 2; }

// Whether registers [start, start + count) touch the area of `bytes` bytes at `area`.
constexpr bool Overlaps(int start, int count, int area, int bytes)
{
    return start < area + RegistersFor(bytes) && area < start + count;
}
// Whether they touch only part of it: a command block written by halves is no command.
constexpr bool CutsThrough(int start, int count, int area, int bytes)
{
    return Overlaps(start, count, area, bytes) && !(start <= area && start + count >= area + RegistersFor(bytes));
}

// Layouts by firmware level (the word at offset 20 of the identity).
namespace Layout {
constexpr std::uint16_t kSeparateControls = 512;  // 510-byte record, controls at 3801, 14-byte maker data
}  // namespace Layout

std::uint16_t FirmwareLevelOf(const MeterImage& image);
// The request block last written at register 99 (it selects what the answer areas hold).
ArchiveRequest RequestOf(const MeterImage& image);
constexpr int TunesBytes(std::uint16_t level) { return level < Layout::kSeparateControls ? 574 : 510; }
constexpr int MakerDataBytes(std::uint16_t level) { return level < Layout::kSeparateControls ? 6 : 14; }
constexpr bool HasSeparateControls(std::uint16_t level) { return level >= Layout::kSeparateControls; }

