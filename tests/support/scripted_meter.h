#pragma once
// A meter on the far side of a real line: a thread that reads RTU requests from a pseudo-terminal's
// master side or from a loopback TCP connection, and answers each from a MeterImage as its script says.
// After the script it answers every request at once.

#include "support/meter_image.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMutex>

#include <atomic>
#include <deque>
#include <thread>

enum class MeterAct {
    kAnswer,
    kSilent,
    kBadCrc,  // the answer with its last byte spoiled
    kStale,   // a 0x48 answer carrying the previous request's sequence number
};

struct MeterRequest {
    QByteArray bytes;
    qint64 atMs = 0;  // since Start
};

class ScriptedMeter {
public:
    explicit ScriptedMeter(MeterImage& image, std::deque<MeterAct> script = {});
    ~ScriptedMeter();
    ScriptedMeter(const ScriptedMeter&) = delete;
    ScriptedMeter& operator=(const ScriptedMeter&) = delete;

    // Listens on a free loopback port (returned, 0 on failure); the thread accepts one connection.
    int ListenTcp();
    // Serves the given descriptor (a pty master); the caller keeps it open.
    void ServeFd(int fd) { m_fd = fd; }

    void Start();
    void Stop();

    QList<MeterRequest> Requests() const;
    qint64 ElapsedMs() const { return m_clock.elapsed(); }

private:
    void Run();
    bool AcceptConnection();
    void Act(const QByteArray& request);

    MeterImage& m_image;
    std::deque<MeterAct> m_script;
    int m_listenFd = -1;
    int m_fd = -1;
    bool m_ownsFd = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    QElapsedTimer m_clock;
    mutable QMutex m_mutex;
    QList<MeterRequest> m_requests;
};
