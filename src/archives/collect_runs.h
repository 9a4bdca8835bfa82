#pragma once
// "CollectRuns": one row per meter and collector run, in the archive database beside the archives, so
// whoever reads the archives also sees which meters were read when and which failed:
//
//   Serial  Node  Started  Finished  Written  AlreadyThere  Error
//
// "Error" is empty for a meter read whole. Made when missing; rows are only ever added.

#include "archives/database_target.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <cstdint>

struct CollectRun {
    std::uint32_t serial = 0;  // 0 when the meter never told it
    QString node;
    QDateTime started;
    QDateTime finished;
    std::int64_t written = 0;
    std::int64_t alreadyThere = 0;
    QString error;
};

inline constexpr const char* kCollectRunsTable = "CollectRuns";

// Makes the table when it is missing; false with the engine's words.
bool PrepareCollectRuns(QSqlDatabase& database, DatabaseTarget::Engine engine, QString* error);
// Adds the run's row (committed at once); false with the engine's words.
bool RecordCollectRun(QSqlDatabase& database, const CollectRun& run, QString* error);
