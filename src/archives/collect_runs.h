#pragma once
// "CollectRuns": one row per meter and collector run, in the archive database beside the archives, so
// whoever reads the archives also sees which meters were read when and which failed:
//
//   Serial  Node  Started  Finished  Written  AlreadyThere  Error  NodeSerial  NewestFutureDate  Notes
//
// "Serial" is the meter's own factory number (the one its records are stored under), "NodeSerial" the
// one the node base holds; "Error" is empty for a meter read whole; "NewestFutureDate" the newest
// record dated more than a day after the computer's clock (NULL when none); "Notes" what else the
// summary told of the meter, one line each. Made when missing; a table of an older layout gets the
// later columns added, and where it cannot be altered the rows carry the columns it has. Rows are only
// ever added.

#include "archives/database_target.h"
#include "meter/archive_date.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <cstdint>
#include <optional>

struct CollectRun {
    std::uint32_t serial = 0;  // 0 when the meter never told it
    QString node;
    QDateTime started;
    QDateTime finished;
    std::int64_t written = 0;
    std::int64_t alreadyThere = 0;
    QString error;
    std::uint32_t nodeSerial = 0;
    std::optional<DateTimeStamp> newestFuture;
    QString notes;
};

inline constexpr const char* kCollectRunsTable = "CollectRuns";

// Makes the table when it is missing and adds the columns an older one lacks; false with the engine's
// words only when there is no table to write to.
bool PrepareCollectRuns(QSqlDatabase& database, DatabaseTarget::Engine engine, QString* error);
// Adds the run's row (committed at once), with the columns the table has; false with the engine's words.
bool RecordCollectRun(QSqlDatabase& database, const CollectRun& run, QString* error);
