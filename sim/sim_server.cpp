#include "sim_server.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString SystemError(const QString& what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

bool ResolveIpv4(const QString& host, sockaddr_in& address, int port)
{
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const QByteArray text = host == QLatin1String("localhost") ? QByteArray("127.0.0.1") : host.toLatin1();
    return inet_pton(AF_INET, text.constData(), &address.sin_addr) == 1;
}

speed_t SpeedConstant(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return 0;
    }
}

}  // namespace

SimServer::SimServer(MeterSimulator& meter) : m_meter(meter)
{
}

SimServer::~SimServer()
{
    Stop();
    CloseAll();
}

bool SimServer::Open(QString* error)
{
    CloseAll();
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        *error = SystemError(QStringLiteral("eventfd"));
        return false;
    }
    SessionSettings settings;
    const SimOptions& options = m_meter.Options();
    settings.framing = options.framing;
    settings.faultDelayMs = options.faultDelayMs;
    settings.baudDelay = options.baudDelay;
    settings.closeAllowed = options.endpoint == SimOptions::Endpoint::Tcp;
    m_session = std::make_unique<MeterSession>(m_meter.Slave(), m_meter.Faults(), settings);
    m_modem.reset();
    if (options.modem.enabled) {
        if (options.endpoint != SimOptions::Endpoint::Pty) {
            *error = QStringLiteral("модем работает только на псевдотерминале");
            return false;
        }
        m_modem = std::make_unique<HayesModem>(options.modem);
        m_modemState = static_cast<int>(m_modem->CurrentState());
    }

    switch (options.endpoint) {
    case SimOptions::Endpoint::Tcp: return OpenTcp(error);
    case SimOptions::Endpoint::Udp: return OpenUdp(error);
    case SimOptions::Endpoint::Pty: return OpenPty(error);
    case SimOptions::Endpoint::Serial: return OpenSerial(error);
    case SimOptions::Endpoint::None: break;
    }
    *error = QStringLiteral("не задан канал");
    return false;
}

bool SimServer::OpenTcp(QString* error)
{
    const SimOptions& options = m_meter.Options();
    sockaddr_in address{};
    if (!ResolveIpv4(options.host, address, options.port)) {
        *error = QStringLiteral("неверный адрес IPv4: %1").arg(options.host);
        return false;
    }
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (m_listenFd < 0 || ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(m_listenFd, 4) != 0) {
        *error = SystemError(QStringLiteral("TCP %1:%2").arg(options.host).arg(options.port));
        CloseAll();
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length);
    m_boundPort = ntohs(address.sin_port);
    m_tcp = true;
    return true;
}

bool SimServer::OpenUdp(QString* error)
{
    const SimOptions& options = m_meter.Options();
    sockaddr_in address{};
    if (!ResolveIpv4(options.host, address, options.port)) {
        *error = QStringLiteral("неверный адрес IPv4: %1").arg(options.host);
        return false;
    }
    m_lineFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    // The configurator binds the same port number on every interface; both must be allowed to share it.
    if (m_lineFd < 0 || ::setsockopt(m_lineFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || ::bind(m_lineFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        *error = SystemError(QStringLiteral("UDP %1:%2").arg(options.host).arg(options.port));
        CloseAll();
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(m_lineFd, reinterpret_cast<sockaddr*>(&address), &length);
    m_boundPort = ntohs(address.sin_port);
    m_udp = true;
    return true;
}

bool SimServer::OpenPty(QString* error)
{
    char name[256] = {};
    if (::openpty(&m_lineFd, &m_ptySlaveFd, name, nullptr, nullptr) != 0) {
        *error = SystemError(QStringLiteral("openpty"));
        return false;
    }
    termios raw{};
    ::tcgetattr(m_ptySlaveFd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_ptySlaveFd, TCSANOW, &raw);
    ::fcntl(m_lineFd, F_SETFL, ::fcntl(m_lineFd, F_GETFL) | O_NONBLOCK);
    m_ptyPath = QString::fromLocal8Bit(name);
    return true;
}

bool SimServer::OpenSerial(QString* error)
{
    const SimOptions& options = m_meter.Options();
    const speed_t speed = SpeedConstant(options.baud);
    if (speed == 0) {
        *error = QStringLiteral("скорость %1 бод не поддерживается").arg(options.baud);
        return false;
    }
    m_lineFd = ::open(options.serialPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios line{};
    if (m_lineFd < 0 || ::tcgetattr(m_lineFd, &line) != 0) {
        *error = SystemError(options.serialPath);
        CloseAll();
        return false;
    }
    ::cfmakeraw(&line);
    line.c_cflag |= CLOCAL | CREAD;
    ::cfsetspeed(&line, speed);
    if (::tcsetattr(m_lineFd, TCSANOW, &line) != 0) {
        *error = SystemError(options.serialPath);
        CloseAll();
        return false;
    }
    return true;
}

void SimServer::CloseAll()
{
    for (int* fd : {&m_listenFd, &m_lineFd, &m_ptySlaveFd, &m_wakeFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    m_pending.clear();
}

void SimServer::DropClient()
{
    if (m_tcp && m_lineFd >= 0) {
        ::close(m_lineFd);
        m_lineFd = -1;
        Log(QStringLiteral("соединение закрыто"));
    }
    m_pending.clear();
    m_session->LineQuiet();
}

bool SimServer::Start(QString* error)
{
    if (!Open(error))
        return false;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void SimServer::Stop()
{
    m_stop = true;
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
    }
    if (m_thread.joinable())
        m_thread.join();
}

void SimServer::Run()
{
    while (!m_stop) {
        pollfd fds[2];
        int count = 0;
        fds[count++] = {m_wakeFd, POLLIN, 0};
        const int serving = m_lineFd >= 0 ? m_lineFd : m_listenFd;
        if (serving >= 0)
            fds[count++] = {serving, POLLIN, 0};
        const std::chrono::nanoseconds wait = PollTimeout();
        const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000),
                               static_cast<long>(wait.count() % 1'000'000'000)};
        const int ready = ::ppoll(fds, static_cast<nfds_t>(count), &timeout, nullptr);
        if (m_stop)
            break;
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            std::uint64_t wakeups = 0;
            [[maybe_unused]] const ssize_t taken = ::read(m_wakeFd, &wakeups, sizeof wakeups);
        }
        if (ready > 0 && count > 1 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            if (serving == m_listenFd) {
                m_lineFd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                if (m_lineFd >= 0) {
                    const int on = 1;
                    ::setsockopt(m_lineFd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                    Log(QStringLiteral("клиент подключен"));
                }
            } else {
                ReadLine(serving);
            }
        }
        if (m_session->NeedsFrameGap() && Clock::now() - m_lastReceived >= std::chrono::milliseconds(FrameGapMs())) {
            std::lock_guard<std::mutex> lock(m_meter.Lock());
            m_session->LineQuiet();
            Schedule();
        }
        if (m_modem)
            ModemTick();
        SendDue();
    }
}

void SimServer::ReadLine(int fd)
{
    std::uint8_t buffer[4096];
    ssize_t received = 0;
    if (m_udp) {
        socklen_t length = sizeof m_udpPeer;
        received = ::recvfrom(fd, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(m_udpPeer), &length);
        if (received > 0)
            m_udpPeerLength = length;
    } else {
        received = ::read(fd, buffer, sizeof buffer);
    }
    if (received == 0 && m_tcp) {
        DropClient();
        return;
    }
    if (received < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && m_tcp)
            DropClient();
        return;
    }
    if (m_modem) {
        FeedModem(buffer, static_cast<int>(received));
        return;
    }
    m_lastReceived = Clock::now();
    if (m_log)
        Log(QStringLiteral("<- %1").arg(MeterSession::Hex(QByteArray(reinterpret_cast<char*>(buffer), int(received)))));
    std::lock_guard<std::mutex> lock(m_meter.Lock());
    const int before = m_session->Requests();
    m_session->Feed(buffer, static_cast<int>(received));
    m_requests += m_session->Requests() - before;
    Schedule();
}

void SimServer::Schedule()
{
    Clock::time_point at = m_pending.empty() ? Clock::now() : std::max(Clock::now(), m_pending.back().due);
    for (SimAction& action : m_session->TakeActions()) {
        at += std::chrono::duration_cast<Clock::duration>(action.delay);
        m_pending.push_back({std::move(action), at});
    }
}

void SimServer::SendDue()
{
    while (!m_pending.empty() && m_pending.front().due <= Clock::now()) {
        Pending next = std::move(m_pending.front());
        m_pending.pop_front();
        if (next.action.type == SimAction::Close) {
            DropClient();
            return;
        }
        // Behind a modem the meter is heard only while the call carries data.
        if (m_lineFd < 0 || (m_modem && !m_modem->CarriesData()))
            continue;
        const QByteArray& bytes = next.action.bytes;
        Log(QStringLiteral("-> %1").arg(MeterSession::Hex(bytes)));
        if (m_udp) {
            ::sendto(m_lineFd, bytes.constData(), bytes.size(), 0, reinterpret_cast<sockaddr*>(m_udpPeer), m_udpPeerLength);
            continue;
        }
        if (!WriteLine(bytes))
            return;
    }
}

bool SimServer::WriteLine(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_lineFd, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd out{m_lineFd, POLLOUT, 0};
            ::poll(&out, 1, 100);
        } else {
            if (m_tcp)
                DropClient();
            return false;
        }
    }
    return true;
}

std::chrono::nanoseconds SimServer::PollTimeout() const
{
    using std::chrono::nanoseconds;
    nanoseconds timeout = std::chrono::milliseconds(200);
    const Clock::time_point now = Clock::now();
    if (!m_pending.empty())
        timeout = std::clamp<nanoseconds>(m_pending.front().due - now, nanoseconds(0), timeout);
    if (m_session && m_session->NeedsFrameGap())
        timeout = std::min<nanoseconds>(timeout, std::chrono::milliseconds(FrameGapMs()));
    if (m_modem) {
        if (const auto due = m_modem->NextDeadline())
            timeout = std::clamp<nanoseconds>(*due - now + std::chrono::milliseconds(1), nanoseconds(0), timeout);
    }
    return timeout;
}

int SimServer::FrameGapMs() const
{
    // An RTU frame ends after 3.5 character times of silence; a few milliseconds cover every speed the
    // meter uses and the scheduling jitter of the host.
    const int baud = m_meter.Options().endpoint == SimOptions::Endpoint::Serial ? m_meter.Options().baud : 115200;
    return std::max(5, 35 * 1000 / baud + 1);
}

void SimServer::Log(const QString& text) const
{
    if (m_log)
        m_log(text);
}
