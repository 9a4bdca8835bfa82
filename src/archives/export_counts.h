#pragma once
// What a whole-archive export did, archive by archive, and how the summary tells it. "Written" counts
// only rows whose transaction was committed: a record read but lost with a failed commit is not there.

#include "meter/archive_descriptors.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

struct ArchiveExportCount {
    std::int64_t total = 0;    // records the walk of this archive visits
    std::int64_t written = 0;  // committed to the database
    std::int64_t skipped = 0;  // already in the database
    bool cutShort = false;     // the walk ended before its last record (read, write or stop)
    bool stoppedAtKnown = false;
    DateTimeStamp stoppedAt{};  // the record the walk ended at
    // Records not stored because every answer carried another record's date, oldest first.
    std::vector<DateTimeStamp> otherDates;

    // Records neither written nor found already stored.
    std::int64_t NotStored() const { return total - written - skipped; }
};

struct ExportCounts {
    std::int64_t total = 0;    // records the export set out to visit
    std::int64_t written = 0;  // committed to the database
    std::int64_t skipped = 0;  // already in the database
    int kindsSucceeded = 0;
    std::array<ArchiveExportCount, kValueArchiveCount> archives{};

    bool AnyCutShort() const;
};

// "Записано: ...", "Уже были в базе: ...", "Всего записей в архивах: ..." on three lines, then a line for
// every archive cut short, or for every archive when `everyArchive`:
// "Часовой архив: записано 30, уже были в базе 2, не записано 40 (остановлено на 25.02.2024 05:00:00)";
// records answered with other dates are named: "не записано 1 (ответ с чужой датой: 25.02.2024 05:00:00)".
QString ExportCountsText(const ExportCounts& counts, bool everyArchive = false);
