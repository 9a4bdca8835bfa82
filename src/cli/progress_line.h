#pragma once
// "1234/4686 записей, 1510 зап./с" on one line of the terminal while records are read off the meter,
// drawn again in place at most five times a second; nothing when stderr is not a terminal (a log
// gets the result line alone) or with -q.

#include "archives/export_progress.h"

#include <QElapsedTimer>

class ProgressLine : public ExportProgress {
public:
    ProgressLine();

    void RecordsDone(std::int64_t done, std::int64_t total) override;
    // Ends the line once something was drawn.
    void Finish();

private:
    const bool m_terminal;
    bool m_shown = false;
    QElapsedTimer m_started;
    QElapsedTimer m_drawn;
};
