#pragma once
// The simulated meter's end of a line: a TCP listener (one client at a time), a UDP socket, a
// pseudo-terminal it creates, or a serial device. One poll loop reads requests, has the meter answer
// them and sends the answers when they are due (faults and the line-time delay hold some back).

#include "hayes_modem.h"
#include "meter_session.h"
#include "meter_simulator.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <thread>

class SimServer {
public:
    explicit SimServer(MeterSimulator& meter);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Binds, listens or creates the line. Afterwards BoundPort() or PtyPath() tell where it is.
    bool Open(QString* error);
    // Serves until Stop() is called (from any thread).
    void Run();
    // Open() and Run() on a thread of its own.
    bool Start(QString* error);
    void Stop();

    int BoundPort() const { return m_boundPort; }
    QString PtyPath() const { return m_ptyPath; }
    // Requests answered so far (also counts those a fault swallowed).
    int Requests() const { return m_requests.load(); }

    // With a modem in front of the meter (--modem-pty): the far end hangs up (any thread), and the
    // state the modem is in.
    void DropCarrier();
    HayesModem::State ModemState() const { return static_cast<HayesModem::State>(m_modemState.load()); }

    // Transaction log lines (-v): frames in and out in hex.
    void SetLog(std::function<void(const QString&)> log) { m_log = std::move(log); }

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        SimAction action;
        Clock::time_point due;
    };

    bool OpenTcp(QString* error);
    bool OpenUdp(QString* error);
    bool OpenPty(QString* error);
    bool OpenSerial(QString* error);
    void CloseAll();
    void DropClient();
    void ReadLine(int fd);
    void Schedule();
    void SendDue();
    // How long the loop may sleep: to the next answer due (to the nanosecond, so a line-time hold ends
    // when it should), the RTU frame gap, the modem's next step, at most 200 ms.
    std::chrono::nanoseconds PollTimeout() const;
    int FrameGapMs() const;
    void Log(const QString& text) const;
    // The modem's side (sim_server_modem.cpp).
    void FeedModem(const std::uint8_t* bytes, int length);
    void ModemTick();
    void ApplyModemOutput(const HayesModem::Output& output);
    // Writes all bytes to the line; false when the line is gone.
    bool WriteLine(const QByteArray& bytes);

    MeterSimulator& m_meter;
    std::unique_ptr<MeterSession> m_session;
    std::unique_ptr<HayesModem> m_modem;
    std::atomic<bool> m_dropCarrier{false};
    std::atomic<int> m_modemState{0};
    std::deque<Pending> m_pending;
    int m_listenFd = -1;  // TCP listener
    int m_lineFd = -1;    // TCP client, UDP socket, pty master or serial device
    int m_ptySlaveFd = -1;  // kept open so the pty stays up between clients
    int m_wakeFd = -1;    // eventfd that Stop() signals
    bool m_udp = false;
    bool m_tcp = false;
    unsigned char m_udpPeer[128] = {};  // sockaddr_storage of the last sender
    unsigned m_udpPeerLength = 0;
    int m_boundPort = 0;
    QString m_ptyPath;
    Clock::time_point m_lastReceived;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
    std::function<void(const QString&)> m_log;
};
