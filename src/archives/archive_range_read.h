#pragma once
// Reading a stretch of a value archive for the trends page and zt5ctl: the records the archive database
// already holds for this meter come from there; the dates the meter holds that the database lacks are
// read off the meter and added to the database, so the next look at the same stretch needs no reading.
// Runs on the driver's command thread (command 20). A stop ends it after the record in hand with what
// was found so far kept, and the rows written committed.

#include "archives/archive_range.h"
#include "archives/database_target.h"

class CRovoRedod;
class ExportProgress;

class ArchiveRangeRead {
public:
    // `progress` hears of every record read off the meter: done and total count the meter's share only.
    explicit ArchiveRangeRead(DatabaseTarget target, ExportProgress* progress = nullptr);

    // True once the range is read whole, or stopped cleanly part-way. Failures are reported through the
    // driver. Reads the meter's identity and configuration first when the driver is not connected, and
    // its archive descriptors every time.
    bool Read(CRovoRedod& driver, const ArchiveRange& range);
    const ArchiveRangeResult& Result() const { return m_result; }

private:
    DatabaseTarget m_target;
    ExportProgress* m_progress;
    ArchiveRangeResult m_result;
};
