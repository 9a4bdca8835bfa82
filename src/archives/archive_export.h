#pragma once
// The whole-archive export (command 16): every record of the meter's hourly, daily, monthly and totals
// archives into the archive database, skipping the records the database already holds for this meter
// (those are not read from the meter at all). Runs on the driver's command thread; the driver's stop
// request ends it after the record in hand, with everything written so far committed.

#include "archives/database_target.h"

#include <QString>

#include <cstdint>

class ArchiveDatabase;
class CRovoRedod;
class ExportProgress;

struct ExportCounts {
    std::int64_t total = 0;     // records the export set out to visit
    std::int64_t written = 0;   // read from the meter and added
    std::int64_t skipped = 0;   // already in the database
    int kindsSucceeded = 0;
};

// Reads what an archive read needs to know of the meter afresh: its identity, its configuration (the
// report time) and the archive descriptors. False when any read fails (already reported).
bool ReadMeterForArchives(CRovoRedod& driver);

// Tells the user what went wrong with the archive database: `text` holds a "%.4X" for the failure code;
// the log also gets `where` and the engine's own words.
void ReportDatabaseFailure(CRovoRedod& driver, ArchiveDatabase& database, const char* text, const QString& where = {});
// The same for a database that did not open.
void ReportDatabaseOpenFailure(CRovoRedod& driver, ArchiveDatabase& database, const DatabaseTarget& target);

// "Записано: ...", "Уже были в базе: ...", "Всего записей в архивах: ..." on three lines.
QString ExportCountsText(const ExportCounts& counts);

class ArchiveExport {
public:
    explicit ArchiveExport(DatabaseTarget target, ExportProgress* progress = nullptr);

    // True when at least one archive was exported whole. Failures are reported through the driver.
    bool ExportWholeArchive(CRovoRedod& driver);
    const ExportCounts& Counts() const { return m_counts; }

private:
    bool ExportArchive(CRovoRedod& driver, ArchiveDatabase& database, int kind);
    void ReportProgress();

    DatabaseTarget m_target;
    ExportProgress* m_progress;
    ExportCounts m_counts;
};
