#include "archives/archive_area_text.h"

#include "archives/archive_reports.h"
#include "archives/record_bytes.h"
#include "protocol/driver_access.h"
#include "protocol/driver_commands.h"

QString ValueArchiveText(ArchiveKind kind, std::span<const std::uint8_t> record)
{
    if (kind == kArchiveTotals)
        return RenderTotals(ToCurrentTotalsForm(RecordFromBytes<TotalsRecord>(record)), TotalsOrigin::Archive);
    return RenderArchiveRecord(RecordFromBytes<ArchiveRecord>(record));
}

QString CurrentAreaText(bool totals, std::span<const std::uint8_t> area)
{
    if (totals)
        return RenderTotals(RecordFromBytes<CurrentTotalsRecord>(area), TotalsOrigin::Current);
    return RenderCurrentValues(RecordFromBytes<CurrentValues>(area));
}

std::optional<QString> ArchiveCommandText(int code, const DriverAccess& driver)
{
    const ArchiveRequest& request = driver.Data().request;
    switch (code) {
        case kCommandReadArchiveValues: {
            const bool totals = request.kind == kArchiveTotals;
            return ValueArchiveText(totals ? kArchiveTotals : kArchiveHourly,
                                    driver.AreaBytes(totals ? MeterArea::kTotalsRecord : MeterArea::kArchiveRecord));
        }
        case kCommandReadCurrentValues: {
            const bool totals = request.kind != kArchiveCurrentValues;
            return CurrentAreaText(totals,
                                   driver.AreaBytes(totals ? MeterArea::kCurrentTotals : MeterArea::kCurrentValues));
        }
        case kCommandReadEventLog:
            // The driver refuses a log it does not know; nothing was read then.
            if (request.kind >= kEventLogCount)
                return std::nullopt;
            return RenderEventEntries(driver.AreaBytes(EventLogReceiveArea(request.kind)), request.count);
        default:
            return std::nullopt;
    }
}
