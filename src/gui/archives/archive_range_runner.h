#pragma once
// Command 20 in the desktop program: a stretch of a value archive read from the database the settings
// name and, where the database lacks records, off the meter, with the meter's share of the progress
// sent to the window. The read runs on the driver's command thread; the signals cross to the GUI thread
// queued, so the read never waits for the window, and the progress is paced by a ProgressThrottle.

#include "archives/archive_range_extension.h"
#include "archives/export_progress.h"
#include "gui/archives/runner_support.h"

#include <QObject>

class AppEnvironment;

class ArchiveRangeRunner : public QObject, private ExportProgress, public ArchiveRangeExtension {
    Q_OBJECT

public:
    // Every other command of the command thread's extensions (the whole-archive export, the
    // calibrations, the idle modem check) goes to `others`.
    explicit ArchiveRangeRunner(AppEnvironment& environment, CommandExtensions* others = nullptr,
                                QObject* parent = nullptr);

    bool ReadArchiveRange(CRovoRedod& driver) override;

signals:
    void rangeStarted();
    // Records read off the meter so far, of those the meter has to give.
    void recordsDone(qint64 done, qint64 total);
    // LastResult() holds what was found, also when the read failed part-way.
    void rangeFinished(bool succeeded);

private:
    void RecordsDone(std::int64_t done, std::int64_t total) override;

    ProgressThrottle m_throttle;
};
