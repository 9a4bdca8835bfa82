#include "read_only_areas.h"

#include "meter_areas.h"

namespace {

struct Area {
    int start;
    int bytes;
};

constexpr Area kReadOnly[] = {
    {MeterArea::kIdentity, MeterArea::kIdentityBytes},
    {MeterArea::kDescriptorDates, MeterArea::kDescriptorDatesBytes},
    {MeterArea::kDescriptorCapacities, MeterArea::kDescriptorCapacitiesBytes},
    {MeterArea::kArchiveRecord, MeterArea::kAnswerAreaBytes},
    {MeterArea::kTotalsRecord, MeterArea::kAnswerAreaBytes},
    {MeterArea::kDescriptorLogs, MeterArea::kDescriptorLogsBytes},
    {MeterArea::kEventLogs[0], MeterArea::kAnswerAreaBytes},
    {MeterArea::kEventLogs[1], MeterArea::kAnswerAreaBytes},
    {MeterArea::kEventLogs[2], MeterArea::kAnswerAreaBytes},
    {MeterArea::kCurrentTotals, MeterArea::kCurrentAreaBytes},
    {MeterArea::kCurrentValues, MeterArea::kCurrentAreaBytes},
    {MeterArea::kFlashPage, MeterArea::kAnswerAreaBytes},
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
