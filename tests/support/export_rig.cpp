#include "support/export_rig.h"

#include <gtest/gtest.h>

RigOptions ExportRigOptions(int days)
{
    RigOptions options;
    options.timeoutSec = 3;
    options.archives.days = days;
    options.archives.fixedEnd = true;
    options.archives.end = TChronoArch{26, 2, 24, 12};
    return options;
}

void ProgressProbe::RecordsDone(std::int64_t done, std::int64_t total)
{
    lastDone = done;
    lastTotal = total;
    ++calls;
    if (onRecord)
        onRecord(done, total);
}

ExportRig::ExportRig(int archiveDays) : ExportRig(ExportRigOptions(archiveDays)) {}

ExportRig::ExportRig(const RigOptions& options)
    : rig(options),
      extension(
          [this](DatabaseTarget* target, QString*) {
              *target = current;
              return true;
          },
          &progress)
{
    rig.driver.SetCommandExtensions(&extension);
    EXPECT_TRUE(rig.Start());
}

bool ExportRig::Export(const DatabaseTarget& target)
{
    current = target;
    RecordingRequester requester;
    // The command thread needs longer than the default under the sanitizers.
    return rig.Run(kCommandExportArchive, &requester, 120000) && requester.Notices() == 1;
}

bool ExportRig::ExportStoppedAfter(const DatabaseTarget& target, std::int64_t records)
{
    progress.onRecord = [&](std::int64_t done, std::int64_t) {
        if (done == records)
            rig.driver.RequestStop();
    };
    const bool succeeded = Export(target);
    progress.onRecord = nullptr;
    return succeeded;
}

std::vector<MeterRecord> ExportRig::MeterRecords(ArchiveKind kind)
{
    return MeterRecordsOf(rig.meter, kind);
}

DatabaseTarget SqliteIn(const QTemporaryDir& folder, const QString& name)
{
    DatabaseTarget target;
    target.path = folder.filePath(name);
    return target;
}
