#include "read_only_areas.h"

#include "meter_areas.h"

namespace {

constexpr MeterArea kReadOnly[] = {
    MeterArea::kIdentity,          MeterArea::kDescriptorDates,        MeterArea::kDescriptorCapacities,
    MeterArea::kArchiveRecord,     MeterArea::kTotalsRecord,           MeterArea::kDescriptorEventLogs,
    MeterArea::kEventLogDbChanges, MeterArea::kEventLogAdministrative, MeterArea::kEventLogDiagnostics,
    MeterArea::kCurrentTotals,     MeterArea::kCurrentValues,          MeterArea::kFlashPage,
};

}  // namespace

int ReadOnlyAreas::CheckWrite(const MeterImage&, int start, int count, const std::uint8_t*)
{
    for (const MeterArea area : kReadOnly) {
        if (Touches(start, count, area))
            return SlaveException::kReadOnly;
    }
    return 0;
}
