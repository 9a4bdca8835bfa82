#pragma once
// One peer of the simulated meter: a TCP client, the UDP socket, the pseudo-terminal or the serial
// device. It owns its framing state (a MeterSession) and the answers it still has to send, so what one
// peer leaves half said never reaches another, and a silent peer holds nobody up. All peers share one
// meter; its lock is taken while a request is answered.

#include "meter_session.h"

#include <QByteArray>

#include <sys/socket.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class SimConnection {
public:
    using Clock = std::chrono::steady_clock;
    using Log = std::function<void(const QString&)>;

    // `fd` is closed with the connection. On a datagram socket each datagram stands alone and answers
    // go back to its sender.
    SimConnection(int fd, std::unique_ptr<MeterSession> session, bool datagrams);
    ~SimConnection();
    SimConnection(const SimConnection&) = delete;
    SimConnection& operator=(const SimConnection&) = delete;

    int Fd() const { return m_fd; }
    MeterSession& Session() { return *m_session; }

    // Reads what the line has. False when the peer is gone (end of stream or a hard error).
    bool ReadFrom(std::mutex& meterLock, const Log& log);
    // Bytes that reached the meter by another way (through the modem in front of it).
    void Receive(const std::uint8_t* bytes, int length, std::mutex& meterLock, const Log& log);
    // Ends an RTU frame after the line was quiet for `frameGap`, and forgets a frame left unfinished
    // for `staleAfter`, so garbage never waits in front of the next request.
    void CheckQuiet(std::chrono::milliseconds frameGap, std::chrono::milliseconds staleAfter, std::mutex& meterLock);
    // Sends the answers that are due. False when the connection is to be dropped: a close action came
    // up or the line refused the bytes.
    bool SendDue(const Log& log);
    // Writes all bytes to the line; false when the line is gone.
    bool Write(const QByteArray& bytes);
    // Forgets the answers not yet sent (a modem that lost its carrier).
    void DropPending() { m_pending.clear(); }

    // How long until this peer needs the loop again, at most `limit`.
    std::chrono::nanoseconds TimeToNext(std::chrono::nanoseconds limit, std::chrono::milliseconds frameGap,
                                        std::chrono::milliseconds staleAfter) const;
    // Requests answered so far (also those a fault swallowed).
    int Requests() const { return m_session->Requests(); }

private:
    struct Pending {
        SimAction action;
        Clock::time_point due;
        sockaddr_storage peer{};
        socklen_t peerLength = 0;
    };

    void Feed(const std::uint8_t* bytes, int length, std::mutex& meterLock, const Log& log);
    void Schedule();

    int m_fd = -1;
    std::unique_ptr<MeterSession> m_session;
    bool m_datagrams = false;
    std::deque<Pending> m_pending;
    sockaddr_storage m_peer{};  // sender of the last datagram
    socklen_t m_peerLength = 0;
    Clock::time_point m_lastReceived = Clock::now();
};
