#include "read_only_areas.h"

#include "meter_areas.h"

namespace {

struct Area {
    int start;
    int bytes;
};

constexpr Area kReadOnly[] = {
    {MeterRegister::kIdentity, MeterRegister::kIdentityBytes},
    {MeterRegister::kDescriptorDates, MeterRegister::kDescriptorDatesBytes},
    {MeterRegister::kDescriptorCapacities, MeterRegister::kDescriptorCapacitiesBytes},
    {MeterRegister::kArchiveRecord, MeterRegister::kAnswerAreaBytes},
    {MeterRegister::kTotalsRecord, MeterRegister::kAnswerAreaBytes},
    {MeterRegister::kDescriptorLogs, MeterRegister::kDescriptorLogsBytes},
    {MeterRegister::kEventLogs[0], MeterRegister::kAnswerAreaBytes},
    {MeterRegister::kEventLogs[1], MeterRegister::kAnswerAreaBytes},
    {MeterRegister::kEventLogs[2], MeterRegister::kAnswerAreaBytes},
    {MeterRegister::kCurrentTotals, MeterRegister::kCurrentAreaBytes},
    {MeterRegister::kCurrentValues, MeterRegister::kCurrentAreaBytes},
    {MeterRegister::kFlashPage, MeterRegister::kAnswerAreaBytes},
};

}  // namespace

int ReadOnlyAreas::CheckWrite(const MeterImage&, int start, int count, const std::uint8_t*)
{
    for (const Area& area : kReadOnly) {
        if (Overlaps(start, count, area.start, area.bytes))
            return SlaveException::kReadOnly;
    }
    return 0;
}
