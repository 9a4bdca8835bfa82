#include "channel/ip_socket_link.h"

#include "channel/channel_owner.h"
#include "channel/channel_settings.h"
#include "channel/channel_types.h"
#include "channel/ip_socket_calls.h"
#include "channel/system_error.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

using namespace IpSocketCalls;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Whole milliseconds until `deadline`, rounded up so a wait never ends before it; 0 once it passed.
int MsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<decltype(left)>(left, 0));
}

// How long the connect wait sleeps between looks at the owner's stop request.
constexpr int kConnectSliceMs = 50;

}  // namespace

IpSocketLink::~IpSocketLink()
{
    Close();
}

bool IpSocketLink::StopRequested() const
{
    return m_owner && m_owner->StopRequested();
}

int IpSocketLink::Fail(int error, Stage stage)
{
    const char* doing = stage == Stage::kOpening ? "Не удалось установить соединение"
        : stage == Stage::kSending               ? "Ошибка передачи данных"
                                                 : "Ошибка приёма данных";
    const QString peer = QStringLiteral("%1 %2:%3")
                             .arg(m_tcp ? QStringLiteral("TCP") : QStringLiteral("UDP"), m_address.trimmed(),
                                  QString::number(m_port));
    ReportToOwner(m_owner,
                  QString::fromUtf8("%1 (%2): %3").arg(QString::fromUtf8(doing), peer, SystemErrorText(error)));
    Close();
    return kTransportFailed;
}

int IpSocketLink::Close()
{
    CloseSocket(m_socket);
    m_connected = false;
    return kTransportOk;
}

int IpSocketLink::Open(int port, const QString& address, bool tcp)
{
    Close();
    m_address = address;
    m_tcp = tcp;
    if (port < 0 || port > 0xFFFF)
        return Fail(EINVAL, Stage::kOpening);
    m_port = static_cast<std::uint16_t>(port);

    if (MakeAddress(m_address, m_port, m_peer) != 0) {
        // The system's "Cannot assign requested address" would send the user looking in the wrong place.
        ReportToOwner(m_owner, QString::fromUtf8("Адрес \"%1\" не найден").arg(m_address.trimmed()));
        return kTransportFailed;
    }
    int error = CreateSocket(m_tcp, m_peer.Family(), m_socket);
    if (error)
        return Fail(error, Stage::kOpening);

    bool stopped = false;
    if (m_tcp) {
        error = SetNoDelay(m_socket);
        if (!error)
            error = Connect(stopped);
    } else {
        error = SetReuseAddress(m_socket);
        if (!error)
            error = BindUdp();
    }
    if (stopped) {
        Close();
        return kTransportStopped;
    }
    if (error)
        return Fail(error, Stage::kOpening);
    m_connected = true;
    return kTransportOk;
}

int IpSocketLink::ConnectTimeoutMs(int seconds)
{
    return std::clamp(seconds, kConnectTimeoutMs / 1000, kLongestConnectTimeoutMs / 1000) * 1000;
}

int IpSocketLink::LocalPort() const
{
    return m_socket == kNoSocket ? 0 : IpSocketCalls::LocalPort(m_socket);
}

// The remote port number on every interface, or, when that is refused, any port the system gives.
int IpSocketLink::BindUdp()
{
    const int error = BindAnyInterface(m_socket, m_peer.Family(), m_port);
    if (error != EACCES && error != EADDRINUSE)
        return error;
    if (const int fallback = BindAnyInterface(m_socket, m_peer.Family(), 0))
        return fallback;
    LogToOwner(m_owner,
               QString::fromUtf8("Локальный порт UDP %1 недоступен (%2), обмен идет через порт %3")
                   .arg(m_port)
                   .arg(SystemErrorText(error))
                   .arg(LocalPort()));
    return 0;
}

// 0 connected or an errno value; `stopped` when the owner asked to stop before the peer answered.
int IpSocketLink::Connect(bool& stopped)
{
    int error = StartConnect(m_socket, m_peer);
    if (error != EINPROGRESS)
        return error;
    const Clock::time_point deadline = Clock::now() + milliseconds(m_connectTimeoutMs);
    for (;;) {
        const int left = MsUntil(deadline);
        if (left <= 0)
            return ETIMEDOUT;
        bool ready = false;
        error = Wait(m_socket, POLLOUT, std::min(left, kConnectSliceMs), ready);
        if (error)
            return error;
        if (ready)
            return PendingError(m_socket);
        if (StopRequested()) {
            stopped = true;
            return 0;
        }
    }
}

int IpSocketLink::Send(const std::uint8_t* bytes, int count)
{
    if (count <= 0)
        return kTransportOk;
    if (m_socket == kNoSocket)
        return Fail(ENOTCONN, Stage::kSending);

    const Clock::time_point deadline = Clock::now() + milliseconds(kSendLimitMs);
    const int framing = m_settings ? m_settings->framing : kFramingRtu;
    const bool inPieces = !m_tcp && (framing == kFramingAscii || framing == kFramingPpp);
    if (!inPieces) {
        const int result = SendPiece(bytes, count, deadline);
        if (result == kTransportOk && m_owner)
            m_owner->MyOnCharsTransmitted(bytes, count);
        return result;
    }
    for (int offset = 0; offset < count; offset += kDatagramPiece) {
        const int piece = std::min(kDatagramPiece, count - offset);
        const int result = SendPiece(bytes + offset, piece, deadline);
        if (result != kTransportOk)
            return result;
        if (m_owner)
            m_owner->MyOnCharsTransmitted(bytes + offset, piece);
    }
    return kTransportOk;
}

// One datagram, or a stream block sent on until all of it is taken, by `deadline`.
int IpSocketLink::SendPiece(const std::uint8_t* bytes, int count, std::chrono::steady_clock::time_point deadline)
{
    const SocketAddress* target = m_tcp ? nullptr : &m_peer;
    int sent = 0;
    while (sent < count) {
        int error = 0;
        const long taken = SendSome(m_socket, bytes + sent, static_cast<std::size_t>(count - sent), target, error);
        if (taken > 0) {
            sent += static_cast<int>(taken);
            continue;
        }
        if (taken < 0 && !IsWouldBlock(error))
            return Fail(error, Stage::kSending);
        const int left = MsUntil(deadline);
        if (left <= 0) {
            ReportToOwner(m_owner, QStringLiteral("Не удалось выполнить отправку данных за требуемое время!"));
            Close();
            return kTransportFailed;
        }
        bool ready = false;
        error = Wait(m_socket, POLLOUT, left, ready);
        if (error)
            return Fail(error, Stage::kSending);
    }
    return kTransportOk;
}

int IpSocketLink::Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + milliseconds(timeoutMs);
    for (;;) {
        if (StopRequested())
            return kTransportStopped;
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return kTransportTimeout;
        if (freeSpace <= 0) {
            // The caller's buffer is full: nothing more can be taken in.
            ReportToOwner(m_owner, SystemErrorText(ENOBUFS));
            return kTransportFailed;
        }
        if (m_socket == kNoSocket)
            return Fail(ENOTCONN, Stage::kReceiving);

        const Clock::time_point cycleEnd = now + milliseconds(kReadCycleMs);
        bool ready = false;
        int error = Wait(m_socket, POLLIN, kReadCycleMs, ready);
        if (error)
            return Fail(error, Stage::kReceiving);
        if (!ready)
            continue;

        SocketAddress sender;
        const long got = ReceiveSome(m_socket, dest, static_cast<std::size_t>(freeSpace), sender, error);
        if (got < 0) {
            if (IsWouldBlock(error))
                continue;
            return Fail(error, Stage::kReceiving);
        }
        if (got == 0) {
            // A closed stream reads as "ready" forever: sit out the rest of the cycle instead of spinning.
            if (m_tcp)
                std::this_thread::sleep_until(cycleEnd);
            continue;
        }
        if (!m_tcp && !SameHost(sender, m_peer))
            continue;  // not our peer: dropped
        if (m_owner)
            m_owner->MyOnCharsRecieved(dest, static_cast<int>(got));
        received += static_cast<int>(got);
        return kTransportOk;
    }
}
