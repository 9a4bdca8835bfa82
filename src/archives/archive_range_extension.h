#pragma once
// Command 20 for the driver: a stretch of a value archive read from the archive database and the meter
// (ArchiveRangeRead). The stretch is handed over before the command is queued; what was found is kept
// for whoever queued it. Every other command of the command thread's extensions goes to `others`.

#include "archives/archive_export_extension.h"
#include "archives/archive_range.h"
#include "protocol/forwarding_extensions.h"

#include <QMutex>

class ArchiveRangeExtension : public ForwardingExtensions {
public:
    using TargetSource = ArchiveExportExtension::TargetSource;

    ArchiveRangeExtension(TargetSource target, ExportProgress* progress = nullptr, CommandExtensions* others = nullptr);

    // The stretch the next command 20 reads; set from any thread before the command is queued.
    void SetRange(const ArchiveRange& range);
    // What the last command 20 found (empty before the first); a copy, so any thread may ask.
    ArchiveRangeResult LastResult() const;

    bool ReadArchiveRange(CRovoRedod& driver) override;

private:
    TargetSource m_target;
    ExportProgress* m_progress;
    mutable QMutex m_mutex;
    ArchiveRange m_range;
    ArchiveRangeResult m_result;
};
