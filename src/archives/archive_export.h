#pragma once
// The whole-archive export (command 16): every record of the meter's hourly, daily, monthly and totals
// archives into the archive database, skipping the records the database already holds for this meter
// (those are not read from the meter at all). Runs on the driver's command thread; the driver's stop
// request ends it after the record in hand, with everything read so far committed.
//
// Every date the meter holds is visited (ExportPlan), so gaps anywhere are filled. The dates go in blocks: one query finds which of a block's dates are stored, the missing records are
// read off the meter, and one statement stores them (a block also ends after a few seconds of reading,
// so a slow line loses little to a killed process). A record another writer stored meanwhile is
// counted as already there.

#include "archives/database_target.h"
#include "archives/export_counts.h"
#include "archives/export_plan.h"

#include <QString>

#include <QVariantList>

#include <array>
#include <cstdint>
#include <vector>

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
    // or written, the stop) makes the export a failure, though the archives before it stay stored. A
    // record the meter answered only with other records' dates is left out and the walk goes on; it
    // fails the export too, and its date is told once the export is over.
    // Failures are reported through the driver; Counts tells, archive by archive, what is stored.
    bool ExportWholeArchive(CRovoRedod& driver);
    // The same into a database already open (the collector keeps one per line for all its meters).
    bool ExportInto(CRovoRedod& driver, ArchiveDatabase& database);
    // The same for a meter whose identity, configuration and descriptors were just read
    // (ReadMeterForArchives), so the caller could look at them first.
    bool ExportRead(CRovoRedod& driver, ArchiveDatabase& database);
    const ExportCounts& Counts() const { return m_counts; }
    // What the export set out to read (see ExportPlan), once it got as far as planning.
    const ExportPlan& Plan() const { return m_plan; }

private:
    bool ExportArchive(CRovoRedod& driver, ArchiveDatabase& database, int kind);
    // Reads the dates of one block that the database lacks and stores them; false when a read, the
    // database or the stop ended it.
    bool ExportBlock(CRovoRedod& driver, ArchiveDatabase& database, int kind, const std::vector<DateTimeStamp>& dates);
    bool StoreRows(CRovoRedod& driver, ArchiveDatabase& database, int kind, std::vector<QVariantList>& rows);
    bool MakePlan(CRovoRedod& driver, ArchiveDatabase& database);
    // Counts as written only what the database committed; an archive that lost rows is not whole.
    // `before`: what the database had committed of each kind before this export.
    void TakeCommittedCounts(const ArchiveDatabase& database, const std::array<qint64, kValueArchiveCount>& before);
    void ReportProgress();
    // Tells the records left out for answers of other dates, if any.
    void ReportOtherDates(CRovoRedod& driver) const;

    DatabaseTarget m_target;
    ExportProgress* m_progress;
    ExportCounts m_counts;
    std::int64_t m_accepted = 0;    // rows handed to the database, committed or not: the progress
    std::int64_t m_otherDates = 0;  // records left out for answers of other dates
    ExportPlan m_plan;
};
