#pragma once
// A meter on the far side of a real line: a thread that reads RTU requests from a pseudo-terminal's
// master side or from a loopback TCP connection and has the simulated meter's slave answer each, as the
// script says, the moment it is complete. After the script it answers every request.

#include "sim/meter_image.h"
#include "sim/modbus_slave.h"
#include "support/loopback_peer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMutex>

#include <atomic>
#include <deque>
#include <optional>
#include <thread>

enum class MeterAct {
    kAnswer,
    kSilent,
    kBadCrc,  // the answer with its last byte spoiled
    kStale,   // a 0x48 answer carrying the previous request's sequence number
};

// Each byte of the image different from its neighbours and from its register's other byte.
void FillMeterPattern(MeterImage& image, std::uint8_t seed);

// The slave's RTU answer to `request` (CRC included) as `act` shapes it; 0 bytes when it stays silent.
int ScriptedAnswer(ModbusSlave& slave, const QByteArray& request, MeterAct act, std::uint8_t* out, int capacity);

struct MeterRequest {
    QByteArray bytes;
    qint64 atMs = 0;  // since Start
};

class ScriptedMeter {
public:
    explicit ScriptedMeter(std::deque<MeterAct> script = {});
    ~ScriptedMeter();
    ScriptedMeter(const ScriptedMeter&) = delete;
    ScriptedMeter& operator=(const ScriptedMeter&) = delete;

    // Listens on a free loopback port (returned, 0 on failure); the thread accepts one connection.
    int ListenTcp();
    // Serves the given descriptor (a pty master); the caller keeps it open.
    void ServeFd(int fd) { m_fd = fd; }

    void Start();
    void Stop();

    // Fill before Start, look after Stop.
    MeterImage& Image() { return m_image; }

    QList<MeterRequest> Requests() const;
    // Length of the RTU request at the start of `bytes` once its header is there, else 0.
    static int RequestLength(const std::uint8_t* bytes, int available);
    qint64 ElapsedMs() const { return m_clock.elapsed(); }

private:
    void Run();
    bool AcceptConnection();
    void Act(const QByteArray& request);

    MeterImage m_image;
    ModbusSlave m_slave{m_image};
    std::deque<MeterAct> m_script;
    std::optional<PeerSocket> m_listener;
    std::optional<PeerSocket> m_connection;
    int m_fd = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    QElapsedTimer m_clock;
    mutable QMutex m_mutex;
    QList<MeterRequest> m_requests;
};
