#pragma once
// Running the built programs as a user would: zt5ctl with its arguments (its stdout, stderr and exit
// status), and zt5-meter-sim in the background on the line it is told, with the place it reports.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

struct CliRun {
    int exitCode = -1;
    QString out;  // UTF-8
    QString err;
    bool finished = false;
};

// Runs zt5ctl and waits for it (30 s at most, then it is killed and `finished` is false).
CliRun RunZt5Ctl(const QStringList& arguments, int timeoutMs = 30000);

// Starts zt5ctl without waiting (for Ctrl+C tests).
std::unique_ptr<QProcess> StartZt5Ctl(const QStringList& arguments);
CliRun FinishProcess(QProcess& process, int timeoutMs = 30000);

class SimProcess {
public:
    // `arguments` name the line (--tcp 127.0.0.1:0, --pty) and anything else the simulator takes.
    explicit SimProcess(const QStringList& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The first line it printed: "127.0.0.1:PORT" or the pty path; empty when it did not start.
    const QString& Place() const { return m_place; }

private:
    QProcess m_process;
    QString m_place;
};

// A loopback TCP port nothing listens on (bound, then closed again).
int ClosedTcpPort();
