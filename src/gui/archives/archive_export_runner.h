#pragma once
// Command 16 in the desktop program: the whole-archive export into the database the settings name,
// with its progress and its result sent to the window. The export runs on the driver's command thread;
// the signals cross to the GUI thread queued, so the export never waits for the window, and the
// progress is paced by a ProgressThrottle.

#include "archives/archive_export_extension.h"
#include "archives/export_progress.h"
#include "gui/archives/runner_support.h"

#include <QObject>

class AppEnvironment;

class ArchiveExportRunner : public QObject, private ExportProgress, public ArchiveExportExtension {
    Q_OBJECT

public:
    // The other work of the command thread (calibrations, the idle modem check) goes to `others`.
    explicit ArchiveExportRunner(AppEnvironment& environment, CommandExtensions* others = nullptr,
                                 QObject* parent = nullptr);

    bool ExportWholeArchive(CRovoRedod& driver) override;

signals:
    void exportStarted();
    void recordsDone(qint64 done, qint64 total);
    // The counts of what was done (ExportCountsText), also when the export failed part-way, with every
    // archive cut short and where it stopped.
    void exportFinished(bool succeeded, qint64 total, const QString& countsText);

private:
    void RecordsDone(std::int64_t done, std::int64_t total) override;

    ProgressThrottle m_throttle;
};
