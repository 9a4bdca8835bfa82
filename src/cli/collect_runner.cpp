#include "cli/collect_runner.h"

#include "archives/archive_database.h"
#include "archives/archive_export.h"
#include "archives/collect_runs.h"
#include "cli/collect_progress.h"
#include "cli/terminal_output.h"
#include "lines/line_threads.h"

#include <QDateTime>

CollectRunner::CollectRunner(DatabaseTarget target, int jobs, bool verbose)
    : m_target(std::move(target)), m_jobs(jobs < 1 ? 1 : jobs), m_verbose(verbose)
{}

std::vector<MeterResult> CollectRunner::Run(const std::vector<CollectLine>& lines,
                                            const std::function<bool()>& stopAsked)
{
    m_stops.Reset();
    m_results.clear();
    m_serials.clear();
    RunLinesSideBySide(
        lines.size(), m_jobs, [this, &lines](std::size_t index) { RunLine(lines[index]); }, stopAsked, m_stops);
    return m_results;
}

bool CollectRunner::OpenDatabase(ArchiveDatabase& database, QString* error)
{
    if (!database.Open(m_target)) {
        *error = DatabaseOpenFailureText(database);
        return false;
    }
    if (!PrepareCollectRuns(database.Connection(), database.Engine(), error)) {
        database.Close();
        return false;
    }
    return true;
}

void CollectRunner::RunLine(const CollectLine& line)
{
    ArchiveDatabase database;
    QString error;
    bool open = false;
    for (const CollectMeter& meter : line.meters) {
        if (m_stops.Stopped())
            break;
        // A connection a failure broke (the server restarted, the disk filled) is made anew for each meter.
        if (!open || database.Broken()) {
            database.Close();
            open = OpenDatabase(database, &error);
        }
        MeterResult result;
        if (open) {
            result = ReadMeter(line, meter, database);
        } else {
            result.line = line.name;
            result.node = meter.name;
            result.serial = result.nodeSerial = std::uint32_t(meter.node.SerialNumber());
            result.started = result.finished = QDateTime::currentDateTime();
            result.error = error;
        }
        if (!open || database.Broken()) {
            database.Close();
            open = OpenDatabase(database, &error);
        }
        if (open)
            Record(database, result);
        PrintError(line.name + QStringLiteral(": ") + meter.name
                   + (result.error.isEmpty() ? QStringLiteral(": готово, записано %1, уже были в базе %2\n")
                                                   .arg(result.written)
                                                   .arg(result.alreadyThere)
                                             : QStringLiteral(": ошибка: %1\n").arg(result.error)));
        const QMutexLocker lock(&m_mutex);
        m_results.push_back(std::move(result));
    }
    database.Close();
}

MeterResult CollectRunner::ReadMeter(const CollectLine& line, const CollectMeter& meter, ArchiveDatabase& database)
{
    MeterResult result;
    result.line = line.name;
    result.node = meter.name;
    result.nodeSerial = std::uint32_t(meter.node.SerialNumber());
    result.started = QDateTime::currentDateTime();
    CollectProgress progress(line.name, meter.name);
    bool exported = false;
    QString taken;
    QString hostError;
    {
        const QString name = meter.name;
        UnattendedHost::LogSink log;
        if (m_verbose)
            log = [name](const QString& text) { PrintError(name + QStringLiteral(": ") + text + u'\n'); };
        MeterDriver meterDriver(meter, m_stops, log);
        CRovoRedod& driver = meterDriver.Driver();
        ArchiveExport exporter(m_target, &progress);
        if (ReadMeterForArchives(driver)) {
            const std::uint32_t serial = driver.Data().configuration.identity.serialNumber;
            // A node entered without its number (0) has nothing to compare.
            if (result.nodeSerial != 0 && serial != result.nodeSerial)
                result.notes
                    << QStringLiteral("заводской номер прибора %1, в базе узлов %2").arg(serial).arg(result.nodeSerial);
            taken = ClaimSerial(serial, meter.name);
            if (taken.isEmpty()) {
                exported = exporter.ExportRead(driver, database);
                result.notes << ExportPlanNotes(exporter.Plan());
                result.newestFuture = exporter.Plan().NewestFuture();
            }
        }
        const std::uint32_t serial = driver.Data().configuration.identity.serialNumber;
        result.serial = serial != 0 ? serial : result.nodeSerial;
        result.serialTold = serial != 0;
        result.written = exporter.Counts().written;
        result.alreadyThere = exporter.Counts().skipped;
        hostError = meterDriver.Host().ErrorText();
    }
    result.finished = QDateTime::currentDateTime();
    if (!taken.isEmpty()) {
        result.error = QStringLiteral(
                           "Заводской номер %1 в этом опросе уже у прибора узла \"%2\": архивы не прочитаны, "
                           "чтобы не смешать записи двух приборов")
                           .arg(result.serial)
                           .arg(taken);
    } else if (!exported) {
        result.error = hostError;
        if (m_stops.Stopped())
            result.error = QStringLiteral("Опрос прерван")
                + (result.error.isEmpty() ? QString() : QStringLiteral(": ") + result.error);
        else if (result.error.isEmpty())
            result.error = QStringLiteral("Операция завершена НЕ успешно!");
    }
    return result;
}

QString CollectRunner::ClaimSerial(std::uint32_t serial, const QString& node)
{
    const QMutexLocker lock(&m_mutex);
    const auto [place, claimed] = m_serials.emplace(serial, node);
    return claimed ? QString() : place->second;
}

void CollectRunner::Record(ArchiveDatabase& database, MeterResult& result)
{
    const CollectRun run{
        result.serial,       result.node,  result.started,    result.finished,     result.written,
        result.alreadyThere, result.error, result.nodeSerial, result.newestFuture, result.notes.join(u'\n')};
    QString error;
    result.recorded = RecordCollectRun(database.Connection(), run, &error);
    if (!result.recorded)
        PrintFailure(
            QStringLiteral("%1: не записано в %2: %3\n").arg(result.node, QLatin1String(kCollectRunsTable), error));
}
