#include "archives/archive_records.h"

namespace {

// Version words from which the meter sends the longer records.
constexpr std::uint16_t kVersionRecord208 = 512;
constexpr std::uint16_t kVersionLongRecords = 515;

}  // namespace

std::size_t ArchiveRecordSize(std::uint16_t versionWord)
{
    if (versionWord >= kVersionLongRecords)
        return 218;
    if (versionWord >= kVersionRecord208)
        return 208;
    return 206;
}

std::size_t TotalsRecordSize(std::uint16_t versionWord)
{
    return versionWord >= kVersionLongRecords ? 232 : 220;
}

CurrentTotalsRecord ToCurrentTotalsForm(const TotalsRecord& record)
{
    CurrentTotalsRecord current{};
    current.time = StampOf(record.date);
    current.body = record.body;
    return current;
}
