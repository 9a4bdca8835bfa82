#pragma once
// What the runners of the command thread's archive work share: the database the settings name, asked
// for afresh at every run, and the pace of their progress signals.

#include "archives/archive_export_extension.h"

#include <QElapsedTimer>

#include <cstdint>

class AppEnvironment;

// The database of "Settings\Database" (or the work folder's default file) at the time of asking, with
// the password found for it or typed this run; a typed password the server refuses is forgotten and the
// reason given.
ArchiveExportExtension::TargetSource ConfiguredTargetSource(AppEnvironment& environment);

// Progress goes to the window at most every kIntervalMs, and always for the last record.
class ProgressThrottle {
public:
    static constexpr int kIntervalMs = 50;

    void Restart() { m_since.invalidate(); }
    // Whether this count is to be sent; if so the interval starts again.
    bool Due(std::int64_t done, std::int64_t total)
    {
        if (m_since.isValid() && m_since.elapsed() < kIntervalMs && done < total)
            return false;
        m_since.start();
        return true;
    }

private:
    QElapsedTimer m_since;
};
