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
    ArchiveDatabase database;
    if (!database.Open(m_target)) {
        ReportDatabaseOpenFailure(driver, database, m_target);
        return false;
    }
    if (!ReadMeterForArchives(driver)) {
        database.Close();
        return false;
    }
    for (int kind = 0; kind < kValueArchiveCount; ++kind)
        m_counts.total += ArchiveWalk(driver.Data().descriptors, ArchiveKind(kind), ReportTimeOf(driver)).Count();
    ReportProgress();
    for (int kind = 0; kind < kValueArchiveCount && !driver.StopRequested(); ++kind) {
        if (ExportArchive(driver, database, kind))
            ++m_counts.kindsSucceeded;
    }
    if (!database.Close()) {
        // The last rows did not reach the database: no archive can be said to be in it whole.
        driver.LogLine(QString::asprintf("(0x%.4X) ", database.TakeLastFailure()) + database.LastFailureText());
        return false;
    }
    return m_counts.kindsSucceeded > 0;
}

void ReportDatabaseFailure(CRovoRedod& driver, ArchiveDatabase& database, const char* text, const QString& where)
{
    const QString shown = QString::asprintf(text, database.TakeLastFailure());
    // The engine's own words go to the log, where a service engineer looks for the reason.
    driver.LogLine(shown + u' ' + (where.isEmpty() ? QString() : where + QStringLiteral(": "))
                   + database.LastFailureText());
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
    data.request = ArchiveRequest{};
    for (ArchiveWalk walk(data.descriptors, ArchiveKind(kind), ReportTimeOf(driver)); !walk.AtEnd(); walk.Next()) {
        if (driver.StopRequested())
            return false;
        const DateTimeStamp& date = walk.Date();
        data.request = ValueArchiveRequest(ArchiveKind(kind), date);
        if (database.Exists(kind, serial, date)) {
            ++m_counts.skipped;
        } else {
            if (database.Failed() || !driver.ReadArchValues())
                return false;
            // The whole answer slot: the read cleared it, so the bytes this firmware level does not send are 0.
            const std::span<const std::uint8_t> record(data.At(area), std::size_t(kAnswerSlotBytes));
            if (!database.Write(kind, record, serial, date))
                return false;
            ++m_counts.written;
        }
        ReportProgress();
    }
    return true;
}

void ArchiveExport::ReportProgress()
{
    if (m_progress)
        m_progress->RecordsDone(m_counts.written + m_counts.skipped, m_counts.total);
}

QString ExportCountsText(const ExportCounts& counts)
{
    return QStringLiteral("Записано: %1\nУже были в базе: %2\nВсего записей в архивах: %3")
        .arg(counts.written)
        .arg(counts.skipped)
        .arg(counts.total);
}
