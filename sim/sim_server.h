#pragma once
// The simulated meter's end of a line: a TCP listener (up to --max-clients clients at once, each with
// its own framing state), a UDP socket, a pseudo-terminal it creates, or a serial device. One poll loop
// reads requests, has the meter answer them and sends the answers when they are due (faults and the
// line-time delay hold some back).

#include "hayes_modem.h"
#include "meter_simulator.h"
#include "sim_connection.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

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
    // TCP clients connected now.
    int Clients() const { return m_clientCount.load(); }
    // Closes every TCP client's connection at the server's next turn (any thread), as a pulled cable
    // or a restarted gateway does; new clients are served as before.
    void DropClients();

    // Transaction log lines (-v): frames in and out in hex.
    void SetLog(std::function<void(const QString&)> log) { m_log = std::move(log); }

private:
    using Clock = std::chrono::steady_clock;

    bool OpenTcp(QString* error);
    bool OpenUdp(QString* error);
    bool OpenPty(QString* error);
    bool OpenSerial(QString* error);
    std::unique_ptr<MeterSession> NewSession() const;
    void CloseAll();
    // Ends the server's wait at once (any thread, a signal handler too).
    void Wake();
    void Accept();
    void DropClient(std::size_t index);
    // Reads (when readable), ends quiet frames and sends what is due. False when the peer is to go.
    bool Serve(SimConnection& connection, bool readable);
    // How long the loop may sleep: to the next answer due (to the nanosecond, so a line-time hold ends
    // when it should), the RTU frame gap, the modem's next step, at most 200 ms.
    std::chrono::nanoseconds PollTimeout() const;
    std::chrono::milliseconds FrameGap() const;
    void Log(const QString& text) const;
    // The modem's side (sim_server_modem.cpp).
    void ReadModem();
    void ModemTick();
    void ApplyModemOutput(const HayesModem::Output& output);

    MeterSimulator& m_meter;
    std::unique_ptr<HayesModem> m_modem;
    std::atomic<bool> m_dropCarrier{false};
    std::atomic<bool> m_dropClients{false};
    std::atomic<int> m_modemState{0};
    int m_listenFd = -1;                                    // TCP listener
    std::vector<std::unique_ptr<SimConnection>> m_clients;  // TCP clients
    std::atomic<int> m_clientCount{0};
    std::unique_ptr<SimConnection> m_line;  // UDP socket, pty master or serial device
    int m_ptySlaveFd = -1;                  // kept open so the pty stays up between clients
    int m_wakeFd = -1;                      // eventfd that Stop() signals
    int m_boundPort = 0;
    QString m_ptyPath;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
    std::function<void(const QString&)> m_log;
};
