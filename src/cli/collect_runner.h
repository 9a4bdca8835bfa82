#pragma once
// A collector run: the lines side by side, each on a thread of its own (at most `jobs` at once), the
// meters of a line one after another. Each meter gets a driver of its own (nothing of a driver is shared
// between threads; the port table is only read while they run) and gets every record it holds that the
// database lacks (ExportPlan). A meter is known by the factory number it answers with: its records are
// stored under that number whatever the node base says (a difference is noted), and a second node whose
// meter answers with a number another node's meter gave in this run fails before its archives are read,
// so the records of two meters are never mixed. Each line keeps one database connection for its meters,
// opened again when a failure broke it; each meter's run is written to CollectRuns as soon as it ends. A
// meter that fails is recorded and the line goes on with the next one.

#include "archives/database_target.h"
#include "lines/collect_plan.h"
#include "lines/meter_driver.h"
#include "meter/archive_date.h"

#include <QDateTime>
#include <QMutex>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

class ArchiveDatabase;
struct MeterResult {
    QString line;
    QString node;
    std::uint32_t serial = 0;      // the meter's own (the node's when the meter never told it)
    std::uint32_t nodeSerial = 0;  // what the node base holds
    bool serialTold = false;       // the meter answered with its factory number
    std::int64_t written = 0;
    std::int64_t alreadyThere = 0;
    QString error;  // empty when the meter was read whole
    // What the summary tells of the meter beside the counts, one line each ("заводской номер прибора ...").
    QStringList notes;
    std::optional<DateTimeStamp> newestFuture;  // the newest record dated after the computer's clock
    QDateTime started;
    QDateTime finished;
    bool recorded = false;  // its row is in CollectRuns
};

class CollectRunner {
public:
    CollectRunner(DatabaseTarget target, int jobs, bool verbose);

    // Runs every line and returns when all are done, or stopped: `stopAsked` is polled a few times a
    // second and, once true, ends each line after the record in hand (what was read is stored).
    // Meters a stopped line did not reach are not in the results.
    std::vector<MeterResult> Run(const std::vector<CollectLine>& lines, const std::function<bool()>& stopAsked);

private:
    void RunLine(const CollectLine& line);
    MeterResult ReadMeter(const CollectLine& line, const CollectMeter& meter, ArchiveDatabase& database);
    // Writes the meter's row into CollectRuns, or says on stderr why it could not.
    void Record(ArchiveDatabase& database, MeterResult& result);
    bool OpenDatabase(ArchiveDatabase& database, QString* error);
    // Takes the factory number for the node; the node that took it first in this run when another did.
    QString ClaimSerial(std::uint32_t serial, const QString& node);

    const DatabaseTarget m_target;
    const int m_jobs;
    const bool m_verbose;
    DriverStopList m_stops;
    QMutex m_mutex;  // guards the two below
    std::vector<MeterResult> m_results;
    std::map<std::uint32_t, QString> m_serials;  // factory number -> the node whose meter answered with it
};
