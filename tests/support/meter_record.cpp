#include "support/meter_record.h"

#include "sim/configuration_area.h"
#include "sim/meter_archives.h"
#include "sim/meter_simulator.h"

#include <mutex>

namespace {

QString DateText(const TChronoArch& date)
{
    return QString::asprintf("%.4d-%.2d-%.2d %.2d:00:00", date.year + 2000, date.month, date.day, date.hour);
}

}  // namespace

std::vector<MeterRecord> MeterRecordsOf(MeterSimulator& meter, ArchiveKind kind)
{
    std::lock_guard<std::mutex> lock(meter.Lock());
    const ReportTime reportTime = ConfigurationArea::ReportTimeOf(meter.Image());
    const MeterSeconds now = meter.Clock().Now();
    const MeterArchives::Range range = meter.Archives().RangeOf(kind, reportTime, now);
    std::vector<MeterRecord> records;
    if (range.empty)
        return records;
    const std::uint16_t level = meter.Options().identity.firmwareLevel;
    for (TChronoArch date = range.first;; date = MeterArchives::Step(kind, date, 1, reportTime)) {
        records.push_back({DateText(date), meter.Archives().RecordBytes(kind, date, reportTime, level, now)});
        if (date == range.newest || records.size() > 100000)
            break;
    }
    return records;
}
