#pragma once
// The whole-archive export against the simulated meter over loopback TCP: a meter with a short,
// fixed archive (three days up to 26 February 2024 12:00, past the report day 25, so the monthly archive
// has a record too), the export wired into the driver as command 16, and what the meter holds.

#include "archives/archive_export.h"
#include "archives/archive_export_extension.h"
#include "archives/database_target.h"
#include "archives/export_progress.h"
#include "support/driver_rig.h"
#include "support/meter_record.h"

#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <vector>

// The rig meter's serial number.
inline constexpr std::uint32_t kMeterSerial = 170001;
// One second of the answer time-out lasts this long in the fault tests: a lost answer costs a tenth of a
// second, and an answer that merely comes slowly on a loaded machine may be given up on and asked for
// again, which the export must survive as well.
inline constexpr int kTimeoutUnitMs = 100;

// An SQLite file in the folder (its folders are made by the export).
DatabaseTarget SqliteIn(const QTemporaryDir& folder, const QString& name = QStringLiteral("db/Data.sqlite"));

// Calls a function after every record, with the counts.
class ProgressProbe : public ExportProgress {
public:
    std::function<void(std::int64_t done, std::int64_t total)> onRecord;
    std::int64_t lastDone = -1;
    std::int64_t lastTotal = -1;
    int calls = 0;
    void RecordsDone(std::int64_t done, std::int64_t total) override;
};

// The rig's meter: `days` of archive up to 26 February 2024 12:00, answers awaited for up to 3 s.
RigOptions ExportRigOptions(int days);

class ExportRig {
public:
    explicit ExportRig(int archiveDays = 3);
    explicit ExportRig(const RigOptions& options);

    // Command 16 through the driver's queue; true when the command succeeded.
    bool Export(const DatabaseTarget& target);

    // The same, with the stop raised (as the service thread raises it for "Остановить процесс") once
    // `records` records are done; true when the command still succeeded.
    bool ExportStoppedAfter(const DatabaseTarget& target, std::int64_t records);

    // Every finished record of the kind, oldest first, walked with the meter's own stepping.
    std::vector<MeterRecord> MeterRecords(ArchiveKind kind);

    DriverRig rig;
    ProgressProbe progress;
    DatabaseTarget current;
    ArchiveExportExtension extension;
};
