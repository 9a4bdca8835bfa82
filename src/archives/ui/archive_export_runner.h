#pragma once
// Command 16 in the desktop program: the whole-archive export into the database the settings name,
// with its progress and its result sent to the window. The export runs on the driver's command thread;
// the signals cross to the GUI thread queued, so the export never waits for the window, and the
// progress is sent at most every kProgressIntervalMs (and always for the last record).
//
// The other work of the command thread outside the driver (the calibrations, the idle modem check) is
// passed on to `others` when set.

#include "archives/archive_export_extension.h"
#include "archives/export_progress.h"

#include <QElapsedTimer>
#include <QObject>

class AppEnvironment;

class ArchiveExportRunner : public QObject, public CommandExtensions, private ExportProgress {
    Q_OBJECT

public:
    static constexpr int kProgressIntervalMs = 50;

    explicit ArchiveExportRunner(AppEnvironment& environment, QObject* parent = nullptr);

    // Set while the driver's threads are not running.
    void SetOthers(CommandExtensions* others) { m_others = others; }

    bool ExportWholeArchive(CRovoRedod& driver) override;
    bool CalibrateTemperature(CRovoRedod& driver) override;
    bool CalibrateCurrent(CRovoRedod& driver) override;
    QByteArray ReadIdleModemText(CRovoRedod& driver) override;

signals:
    void exportStarted();
    void recordsDone(qint64 done, qint64 total);
    // The counts of what was done, also when the export failed part-way.
    void exportFinished(bool succeeded, qint64 written, qint64 skipped, qint64 total);

private:
    void RecordsDone(std::int64_t done, std::int64_t total) override;

    AppEnvironment& m_environment;
    ArchiveExportExtension m_export;
    CommandExtensions* m_others = nullptr;
    QElapsedTimer m_sinceProgress;
};
