#pragma once
// The line of the simulated reference stand: a pseudo-terminal it creates (path "pty") or a serial
// device it opens, served on a thread of its own until Stop().

#include "reference_stand.h"

#include <QString>

#include <atomic>
#include <functional>
#include <thread>

class ReferenceStandLine {
public:
    explicit ReferenceStandLine(ReferenceStand& stand) : m_stand(stand) {}
    ~ReferenceStandLine();
    ReferenceStandLine(const ReferenceStandLine&) = delete;
    ReferenceStandLine& operator=(const ReferenceStandLine&) = delete;

    // "pty" creates a pseudo-terminal, anything else is a device path. Serves on its own thread.
    bool Start(const QString& where, QString* error);
    void Stop();
    // The path a client opens: the pseudo-terminal's, or the device given.
    QString Path() const { return m_path; }

    // One line per measure set or command refused.
    void SetLog(std::function<void(const QString&)> log) { m_log = std::move(log); }

private:
    bool OpenPty(QString* error);
    bool OpenDevice(const QString& path, QString* error);
    void Run();
    void CloseAll();

    ReferenceStand& m_stand;
    int m_lineFd = -1;
    int m_ptySlaveFd = -1;  // kept open so the pty stays up while clients come and go
    QString m_path;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::function<void(const QString&)> m_log;
};
