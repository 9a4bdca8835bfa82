#pragma once
// The whole-archive export (command 16): every record of the meter's hourly, daily, monthly and totals
// archives into the archive database, skipping the records the database already holds for this meter
// (those are not read from the meter at all). Runs on the driver's command thread; the driver's stop
// request ends it after the record in hand, with everything written so far committed.

#include "archives/database_target.h"
#include "archives/export_counts.h"

#include <QString>

#include <cstdint>

class ArchiveDatabase;
class CRovoRedod;
class ExportProgress;

// Reads what an archive read needs to know of the meter afresh: its identity, its configuration (the
// report time) and the archive descriptors. False when any read fails (already reported).
bool ReadMeterForArchives(CRovoRedod& driver);

// Tells the user what went wrong with the archive database: `text` holds a "%.4X" for the failure code;
// the log also gets `where` and the engine's own words.
void ReportDatabaseFailure(CRovoRedod& driver, ArchiveDatabase& database, const char* text, const QString& where = {});
// What the box says: the first line with the failure code (`text` holds a "%.4X"), the engine's reason
// under it. Takes the stored failure code.
QString DatabaseFailureText(ArchiveDatabase& database, const char* text);
// The text of a database that did not open.
QString DatabaseOpenFailureText(ArchiveDatabase& database);
// The same for a database that did not open.
void ReportDatabaseOpenFailure(CRovoRedod& driver, ArchiveDatabase& database, const DatabaseTarget& target);

class ArchiveExport {
public:
    explicit ArchiveExport(DatabaseTarget target, ExportProgress* progress = nullptr);

    // True when every archive was exported whole: an archive cut short (a record that could not be read
    // or written, the stop) makes the export a failure, though the archives before it stay stored.
    // Failures are reported through the driver; Counts tells, archive by archive, what is stored.
    bool ExportWholeArchive(CRovoRedod& driver);
    const ExportCounts& Counts() const { return m_counts; }

private:
    bool ExportArchive(CRovoRedod& driver, ArchiveDatabase& database, int kind);
    // Counts as written only what the database committed; an archive that lost rows is not whole.
    void TakeCommittedCounts(const ArchiveDatabase& database);
    void ReportProgress();

    DatabaseTarget m_target;
    ExportProgress* m_progress;
    ExportCounts m_counts;
    std::int64_t m_accepted = 0;  // rows handed to the database, committed or not: the progress
};
