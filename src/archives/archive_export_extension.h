#pragma once
// Command 16 for the driver: the whole-archive export into the database the settings name. The other
// work of the command thread outside the driver (calibrations, the idle modem check) goes to `others`
// when one is given; without it those commands fail and the modem check finds nothing.

#include "archives/archive_export.h"
#include "protocol/forwarding_extensions.h"

#include <functional>

class ExportProgress;
struct DatabaseTarget;

class ArchiveExportExtension : public ForwardingExtensions {
public:
    // `target` is asked for the database at the start of every export, so a changed setting counts from
    // the next export on; false (with the reason) when the setting cannot be used.
    using TargetSource = std::function<bool(DatabaseTarget* target, QString* error)>;

    ArchiveExportExtension(TargetSource target, ExportProgress* progress = nullptr,
                           CommandExtensions* others = nullptr);

    bool ExportWholeArchive(CRovoRedod& driver) override;
    QByteArray ReadIdleModemText(CRovoRedod& driver) override;

    // What the last export did.
    const ExportCounts& LastCounts() const { return m_counts; }

private:
    TargetSource m_target;
    ExportProgress* m_progress;
    ExportCounts m_counts;
};

// The database `source` names now; when it names none, the reason is logged and shown and the result is false.
bool ChosenDatabaseTarget(const ArchiveExportExtension::TargetSource& source, CRovoRedod& driver,
                          DatabaseTarget* target);
