#include "archives/archive_range_read.h"

#include "archives/archive_database.h"
#include "archives/archive_export.h"
#include "archives/export_progress.h"
#include "archives/other_date_records.h"
#include "archives/record_bytes.h"
#include "base/message_style.h"
#include "protocol/image_report_time.h"
#include "protocol/rovo_redod.h"

#include <algorithm>
#include <set>

namespace {

// Records are told apart by the hour they are filed under; their minutes follow the archive's first record.
std::int32_t HourKey(const TChronoArch& date)
{
    return HourDifference(date, TChronoArch{1, 1, 0, 0});
}

}  // namespace

ArchiveRangeRead::ArchiveRangeRead(DatabaseTarget target, ExportProgress* progress)
    : m_target(std::move(target)), m_progress(progress)
{}

bool ArchiveRangeRead::Read(CRovoRedod& driver, const ArchiveRange& range)
{
    m_result = ArchiveRangeResult{};
    if (!IsUsableRange(range)) {
        const QString text = QString::fromUtf8(kBackwardRangeText);
        driver.LogLine(text);
        driver.ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
        return false;
    }
    ArchiveDatabase database;
    if (!database.Open(m_target)) {
        ReportDatabaseOpenFailure(driver, database, m_target);
        return false;
    }
    // A connected meter's identity and configuration are known; its archives have moved on since.
    if (!(driver.IsDeviceConnected() ? driver.Operations().ReadArchInfo() : ReadMeterForArchives(driver))) {
        database.Close();
        return false;
    }
    DriverData& data = driver.Data();
    const std::uint32_t serial = data.configuration.identity.serialNumber;
    m_result.serial = serial;
    const bool totals = range.kind == kArchiveTotals;
    std::vector<RangeRecord> records;
    std::vector<TotalsRecord> totalsRecords;
    if (!(totals ? database.ReadTotals(serial, range.from, range.to, &totalsRecords)
                 : database.ReadRange(range.kind, serial, range.from, range.to, &records))) {
        ReportDatabaseFailure(driver, database, "Ошибка чтения базы данных (0x%.4X)!");
        database.Close();
        return false;
    }
    m_result.fromDatabase = std::int64_t(records.size() + totalsRecords.size());
    std::set<std::int32_t> stored;
    for (const RangeRecord& record : records)
        stored.insert(HourKey(record.date));
    for (const TotalsRecord& record : totalsRecords)
        stored.insert(HourKey(record.date));
    std::vector<DateTimeStamp> gaps;
    for (const DateTimeStamp& date : MeterDatesInRange(data.descriptors, range, ImageReportTime(data))) {
        if (!stored.contains(HourKey(ChronoOf(date))))
            gaps.push_back(date);
    }
    const auto total = std::int64_t(gaps.size());
    if (m_progress)
        m_progress->RecordsDone(0, total);
    bool succeeded = true;
    for (const DateTimeStamp& date : gaps) {
        if (driver.StopRequested())
            break;
        data.request = ValueArchiveRequest(range.kind, date);
        const DeviceOperations::RecordRead outcome = driver.Operations().ReadArchRecord();
        if (outcome == DeviceOperations::RecordRead::kFailed) {
            succeeded = false;
            break;
        }
        if (outcome == DeviceOperations::RecordRead::kOtherDate) {
            m_result.otherDates.push_back(date);
            continue;
        }
        // The whole answer slot: the read cleared it, so the bytes this firmware level does not send are 0.
        const MeterArea area = totals ? MeterArea::kTotalsRecord : MeterArea::kArchiveRecord;
        const std::span<const std::uint8_t> bytes(data.At(area), std::size_t(kAnswerSlotBytes));
        if (!database.Write(range.kind, bytes, serial, date)) {
            ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!");
            succeeded = false;
            break;
        }
        if (totals) {
            totalsRecords.push_back(RecordFromBytes<TotalsRecord>(bytes));
            totalsRecords.back().date = ChronoOf(date);
        } else {
            RangeRecord read{ChronoOf(date), RecordFromBytes<ArchiveRecord>(bytes)};
            read.record.date = read.date;
            records.push_back(read);
        }
        ++m_result.fromMeter;
        if (m_progress)
            m_progress->RecordsDone(m_result.fromMeter, total);
    }
    m_result.missing = total - m_result.fromMeter;
    if (!m_result.otherDates.empty()) {
        ReportOtherDateRecords(driver, std::int64_t(m_result.otherDates.size()),
                               {OtherDatesOfArchive(range.kind, m_result.otherDates)});
        succeeded = false;
    }
    if (!database.Close()) {
        ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!");
        succeeded = false;
    }
    std::sort(records.begin(), records.end(),
              [](const RangeRecord& a, const RangeRecord& b) { return HourKey(a.date) < HourKey(b.date); });
    std::sort(totalsRecords.begin(), totalsRecords.end(),
              [](const TotalsRecord& a, const TotalsRecord& b) { return HourKey(a.date) < HourKey(b.date); });
    m_result.records = std::move(records);
    m_result.totals = std::move(totalsRecords);
    return succeeded;
}
