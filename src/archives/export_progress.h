#pragma once
// How far a whole-archive export has got, for whoever watches it: the archives page, zt5ctl's progress
// line. Called on the export's thread after every record handled (written, or already in the database);
// a watcher that draws something keeps its own pace.

#include <cstdint>

class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    // `total`: the records of all four archives the export will visit, known once the descriptors are in.
    virtual void RecordsDone(std::int64_t done, std::int64_t total) = 0;
    // The export turns to the archive of this kind (0 hourly .. 3 totals).
    virtual void ArchiveStarted(int /*kind*/) {}
};
