#include "support/sim_archive_expectations.h"

#include "sim/configuration_area.h"
#include "sim/meter_archives.h"

#include <mutex>

QByteArray NewestArchiveRecord(MeterSimulator& meter, ArchiveKind kind, TChronoArch& date)
{
    std::lock_guard<std::mutex> lock(meter.Lock());
    const ReportTime reportTime = ConfigurationArea::ReportTimeOf(meter.Image());
    const MeterSeconds now = meter.Clock().Now();
    const MeterArchives::Range range = meter.Archives().RangeOf(kind, reportTime, now);
    if (range.empty)
        return {};
    date = range.newest;
    return meter.Archives().RecordBytes(kind, date, reportTime, meter.Options().identity.firmwareLevel, now);
}
