#include "archives/archive_export.h"

#include "archives/archive_database.h"
#include "archives/archive_walk.h"
#include "archives/export_progress.h"
#include "channel/message_style.h"
#include "protocol/rovo_redod.h"


namespace {

ReportTime ReportTimeOf(const CRovoRedod& driver)
{
    const TunesRecord& tunes = driver.Data().configuration.tunes;
    return ReportTime{tunes.reportHour, tunes.reportDay};
}

}  // namespace

ArchiveExport::ArchiveExport(DatabaseTarget target, ExportProgress* progress)
    : m_target(std::move(target)), m_progress(progress)
{
}

bool ArchiveExport::ExportWholeArchive(CRovoRedod& driver)
{
    m_counts = ExportCounts{};
    m_accepted = 0;
    ArchiveDatabase database;
    if (!database.Open(m_target)) {
        ReportDatabaseOpenFailure(driver, database, m_target);
        return false;
    }
    if (!ReadMeterForArchives(driver)) {
        database.Close();
        return false;
    }
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        m_counts.archives[kind].total =
            ArchiveWalk(driver.Data().descriptors, ArchiveKind(kind), ReportTimeOf(driver)).Count();
        m_counts.total += m_counts.archives[kind].total;
    }
    ReportProgress();
    for (int kind = 0; kind < kValueArchiveCount && !database.Broken(); ++kind) {
        if (driver.StopRequested()) {
            m_counts.archives[kind].cutShort = m_counts.archives[kind].total > 0;
            continue;
        }
        if (ExportArchive(driver, database, kind))
            ++m_counts.kindsSucceeded;
        else
            m_counts.archives[kind].cutShort = true;
    }
    const bool wasBroken = database.Broken();
    if (!database.Close() && !wasBroken)
        ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!", m_target.Describe());
    TakeCommittedCounts(database);
    return !m_counts.AnyCutShort() && !database.Broken();
}

void ArchiveExport::TakeCommittedCounts(const ArchiveDatabase& database)
{
    m_counts.written = 0;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        ArchiveExportCount& archive = m_counts.archives[kind];
        archive.written = database.RowsCommitted(kind);
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
    return driver.OpenChannel() && driver.ReadVersionInfo() && driver.ReadAllTunes() && driver.ReadArchInfo();
}

bool ArchiveExport::ExportArchive(CRovoRedod& driver, ArchiveDatabase& database, int kind)
{
    DriverData& data = driver.Data();
    const std::uint32_t serial = data.configuration.identity.serialNumber;
    const MeterArea area = kind == kArchiveTotals ? MeterArea::kTotalsRecord : MeterArea::kArchiveRecord;
    ArchiveExportCount& count = m_counts.archives[kind];
    data.request = ArchiveRequest{};
    for (ArchiveWalk walk(data.descriptors, ArchiveKind(kind), ReportTimeOf(driver)); !walk.AtEnd(); walk.Next()) {
        const DateTimeStamp& date = walk.Date();
        count.stoppedAt = date;
        count.stoppedAtKnown = true;
        if (driver.StopRequested())
            return false;
        data.request = ValueArchiveRequest(ArchiveKind(kind), date);
        if (database.Exists(kind, serial, date)) {
            ++count.skipped;
            ++m_counts.skipped;
        } else {
            if (database.Failed()) {
                ReportDatabaseFailure(driver, database, "Ошибка чтения базы данных (0x%.4X)!");
                return false;
            }
            if (!driver.ReadArchValues())
                return false;
            // The whole answer slot: the read cleared it, so the bytes this firmware level does not send are 0.
            const std::span<const std::uint8_t> record(data.At(area), std::size_t(kAnswerSlotBytes));
            if (!database.Write(kind, record, serial, date)) {
                ReportDatabaseFailure(driver, database, "Ошибка записи в базу данных (0x%.4X)!");
                return false;
            }
            ++m_accepted;
        }
        ReportProgress();
    }
    count.stoppedAtKnown = false;
    return true;
}

void ArchiveExport::ReportProgress()
{
    if (m_progress)
        m_progress->RecordsDone(m_accepted + m_counts.skipped, m_counts.total);
}
