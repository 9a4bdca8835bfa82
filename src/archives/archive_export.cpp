#include "archives/archive_export.h"

#include "archives/archive_database.h"
#include "archives/archive_table.h"
#include "archives/export_progress.h"
#include "archives/other_date_records.h"
#include "base/message_style.h"
#include "protocol/rovo_redod.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <set>

namespace {

// Dates looked up in one query, rows stored in one statement; a block read over a slow line is stored
// after this many milliseconds of reading.
constexpr std::size_t kBlockRecords = 250;
constexpr qint64 kBlockReadingMs = 3000;

ReportTime ReportTimeOf(const CRovoRedod& driver)
{
    const TunesRecord& tunes = driver.Data().configuration.tunes;
    return ReportTime{tunes.reportHour, tunes.reportDay};
}

}  // namespace

ArchiveExport::ArchiveExport(DatabaseTarget target, ExportProgress* progress)
    : m_target(std::move(target)), m_progress(progress)
{}

bool ArchiveExport::ExportWholeArchive(CRovoRedod& driver)
{
    ArchiveDatabase database;
    if (!database.Open(m_target)) {
        m_counts = ExportCounts{};
        ReportDatabaseOpenFailure(driver, database, m_target);
        return false;
    }
    const bool exported = ExportInto(driver, database);
    const bool wasBroken = database.Broken();
    if (!database.Close() && !wasBroken)
        ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!", m_target.Describe());
    return exported && !database.Broken();
}

bool ArchiveExport::ExportInto(CRovoRedod& driver, ArchiveDatabase& database)
{
    m_counts = ExportCounts{};
    m_plan = ExportPlan{};
    return ReadMeterForArchives(driver) && ExportRead(driver, database);
}

bool ArchiveExport::ExportRead(CRovoRedod& driver, ArchiveDatabase& database)
{
    m_counts = ExportCounts{};
    m_accepted = 0;
    m_otherDates = 0;
    std::array<qint64, kValueArchiveCount> before{};
    for (int kind = 0; kind < kValueArchiveCount; ++kind)
        before[kind] = database.RowsCommitted(kind);
    if (!MakePlan(driver, database))
        return false;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        m_counts.archives[kind].total = m_plan.Archive(kind).dates;
        m_counts.total += m_counts.archives[kind].total;
    }
    ReportProgress();
    for (int kind = 0; kind < kValueArchiveCount && !database.Broken(); ++kind) {
        if (driver.StopRequested()) {
            m_counts.archives[kind].cutShort = m_counts.archives[kind].total > 0;
            continue;
        }
        if (m_progress)
            m_progress->ArchiveStarted(kind);
        if (ExportArchive(driver, database, kind))
            ++m_counts.kindsSucceeded;
        else
            m_counts.archives[kind].cutShort = true;
    }
    // Only what is committed counts as written.
    const bool wasBroken = database.Broken();
    if (!database.Flush() && !wasBroken)
        ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!", m_target.Describe());
    TakeCommittedCounts(database, before);
    ReportOtherDates(driver);
    return !m_counts.AnyCutShort() && !database.Broken();
}

void ArchiveExport::ReportOtherDates(CRovoRedod& driver) const
{
    if (m_otherDates == 0)
        return;
    QStringList parts;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        if (!m_counts.archives[kind].otherDates.empty())
            parts << OtherDatesOfArchive(kind, m_counts.archives[kind].otherDates);
    }
    ReportOtherDateRecords(driver, m_otherDates, parts);
}

bool ArchiveExport::MakePlan(CRovoRedod& driver, ArchiveDatabase& database)
{
    // The newest stored dates tell what the ring overwrote since the last run: one query for all four.
    NewestStored newest;
    if (!database.NewestDates(driver.Data().configuration.identity.serialNumber, &newest)) {
        ReportDatabaseFailure(driver, database, "Ошибка чтения базы данных (0x%.4X)!");
        return false;
    }
    m_plan = ExportPlan(driver.Data().descriptors, ReportTimeOf(driver), newest, QDateTime::currentDateTime());
    return true;
}

void ArchiveExport::TakeCommittedCounts(const ArchiveDatabase& database,
                                        const std::array<qint64, kValueArchiveCount>& before)
{
    m_counts.written = 0;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        ArchiveExportCount& archive = m_counts.archives[kind];
        archive.written = database.RowsCommitted(kind) - before[kind];
        m_counts.written += archive.written;
        if (archive.NotStored() > 0)
            archive.cutShort = true;
    }
    m_counts.kindsSucceeded = 0;
    for (const ArchiveExportCount& archive : m_counts.archives)
        m_counts.kindsSucceeded += archive.cutShort ? 0 : 1;
}

QString DatabaseFailureText(ArchiveDatabase& database, const char* text)
{
    const QString shown = QString::asprintf(text, database.TakeLastFailure());
    const QString reason = database.LastFailureText().trimmed();
    // The first line as it always was; the engine's reason under it, so the user can act on it.
    return reason.isEmpty() ? shown : shown + u'\n' + reason;
}

QString DatabaseOpenFailureText(ArchiveDatabase& database)
{
    return DatabaseFailureText(database, "Ошибка при открытии файла базы данных (0x%.4X)!");
}

void ReportDatabaseFailure(CRovoRedod& driver, ArchiveDatabase& database, const char* text, const QString& where)
{
    const QString shown = DatabaseFailureText(database, text);
    driver.LogLine(where.isEmpty() ? shown : where + QStringLiteral(": ") + shown);
    driver.ShowMessage(shown, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
}

void ReportDatabaseOpenFailure(CRovoRedod& driver, ArchiveDatabase& database, const DatabaseTarget& target)
{
    ReportDatabaseFailure(driver, database, "Ошибка при открытии файла базы данных (0x%.4X)!", target.Describe());
}

bool ReadMeterForArchives(CRovoRedod& driver)
{
    DriverData& data = driver.Data();
    data.image.fill(0);
    data.configuration.identity = DeviceIdentity{};
    data.versionText.clear();
    data.descriptors = ArchiveDescriptors{};
    DeviceOperations& operations = driver.Operations();
    return driver.OpenChannel() && operations.ReadVersionInfo() && operations.ReadAllTunes()
        && operations.ReadArchInfo();
}

bool ArchiveExport::ExportArchive(CRovoRedod& driver, ArchiveDatabase& database, int kind)
{
    ArchiveExportCount& count = m_counts.archives[kind];
    driver.Data().request = ArchiveRequest{};
    ArchiveWalk walk = m_plan.Walk(kind);
    std::vector<DateTimeStamp> block;
    while (!walk.AtEnd()) {
        block.clear();
        for (; !walk.AtEnd() && block.size() < kBlockRecords; walk.Next())
            block.push_back(walk.Date());
        if (!ExportBlock(driver, database, kind, block))
            return false;
    }
    count.stoppedAtKnown = false;
    return true;
}

bool ArchiveExport::ExportBlock(CRovoRedod& driver, ArchiveDatabase& database, int kind,
                                const std::vector<DateTimeStamp>& dates)
{
    DriverData& data = driver.Data();
    const std::uint32_t serial = data.configuration.identity.serialNumber;
    const MeterArea area = kind == kArchiveTotals ? MeterArea::kTotalsRecord : MeterArea::kArchiveRecord;
    ArchiveExportCount& count = m_counts.archives[kind];
    std::set<QString> stored;
    if (!database.StoredHours(kind, serial, dates.front(), dates.back(), &stored)) {
        count.stoppedAt = dates.front();
        count.stoppedAtKnown = true;
        ReportDatabaseFailure(driver, database, "Ошибка чтения базы данных (0x%.4X)!");
        return false;
    }
    std::vector<QVariantList> rows;
    QElapsedTimer reading;
    reading.start();
    for (const DateTimeStamp& date : dates) {
        count.stoppedAt = date;
        count.stoppedAtKnown = true;
        if (driver.StopRequested()) {
            StoreRows(driver, database, kind, rows);
            return false;
        }
        data.request = ValueArchiveRequest(ArchiveKind(kind), date);
        if (stored.contains(HourKeyText(date))) {
            ++count.skipped;
            ++m_counts.skipped;
            ReportProgress();
            continue;
        }
        const DeviceOperations::RecordRead read = driver.Operations().ReadArchRecord();
        if (read == DeviceOperations::RecordRead::kFailed) {
            StoreRows(driver, database, kind, rows);
            return false;
        }
        // Left out, and the walk goes on: the records after it are the meter's to give.
        if (read == DeviceOperations::RecordRead::kOtherDate) {
            count.otherDates.push_back(date);
            ++m_otherDates;
            ReportProgress();
            continue;
        }
        // The whole answer slot: the read cleared it, so the bytes this firmware level does not send are 0.
        const std::span<const std::uint8_t> record(data.At(area), std::size_t(kAnswerSlotBytes));
        rows.push_back(database.RowOf(kind, record, serial, date));
        if (rows.back().isEmpty()) {
            ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!");
            rows.pop_back();
            StoreRows(driver, database, kind, rows);
            return false;
        }
        ++m_accepted;
        ReportProgress();
        if (reading.hasExpired(kBlockReadingMs)) {
            if (!StoreRows(driver, database, kind, rows))
                return false;
            reading.start();
        }
    }
    return StoreRows(driver, database, kind, rows);
}

bool ArchiveExport::StoreRows(CRovoRedod& driver, ArchiveDatabase& database, int kind, std::vector<QVariantList>& rows)
{
    if (rows.empty())
        return true;
    qint64 added = 0;
    const bool stored = database.WriteBlock(kind, rows, &added);
    if (!stored) {
        ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!");
    } else {
        // Rows another writer stored first were there already.
        const auto there = std::int64_t(rows.size()) - added;
        m_counts.archives[kind].skipped += there;
        m_counts.skipped += there;
        m_accepted -= there;
    }
    rows.clear();
    return stored;
}

void ArchiveExport::ReportProgress()
{
    if (m_progress)
        m_progress->RecordsDone(m_accepted + m_counts.skipped + m_otherDates, m_counts.total);
}
