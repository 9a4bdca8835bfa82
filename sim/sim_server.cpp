#include "sim_server.h"
#include "system_error.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

// The place to listen on: an IPv4 address, "localhost" or an IPv6 literal (the host without brackets).
bool ResolveListenAddress(const QString& host, int port, sockaddr_storage& address, socklen_t& length)
{
    std::memset(&address, 0, sizeof address);
    const QByteArray text = host == QLatin1String("localhost") ? QByteArray("127.0.0.1") : host.toLatin1();
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    if (inet_pton(AF_INET, text.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<std::uint16_t>(port));
        length = sizeof *v4;
        return true;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    if (inet_pton(AF_INET6, text.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(port));
        length = sizeof *v6;
        return true;
    }
    return false;
}

QString BadListenAddress(const QString& host)
{
    return QStringLiteral("неверный адрес: %1 (нужен адрес IPv4, localhost или [адрес IPv6])").arg(host);
}

int ListeningPort(int fd)
{
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        return 0;
    return bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port)
                                       : ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
}

// A frame left unfinished this long is garbage: it is dropped so it cannot swallow the next request.
constexpr std::chrono::milliseconds kStaleFrame{1000};

speed_t SpeedConstant(int baud)
{
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 921600:
            return B921600;
        default:
            return 0;
    }
}

}  // namespace

SimServer::SimServer(MeterSimulator& meter) : m_meter(meter) {}

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
    const SimOptions& options = m_meter.Options();
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
        case SimOptions::Endpoint::Tcp:
            return OpenTcp(error);
        case SimOptions::Endpoint::Udp:
            return OpenUdp(error);
        case SimOptions::Endpoint::Pty:
            return OpenPty(error);
        case SimOptions::Endpoint::Serial:
            return OpenSerial(error);
        case SimOptions::Endpoint::None:
            break;
    }
    *error = QStringLiteral("не задан канал");
    return false;
}

bool SimServer::OpenTcp(QString* error)
{
    const SimOptions& options = m_meter.Options();
    sockaddr_storage address{};
    socklen_t addressLength = 0;
    if (!ResolveListenAddress(options.host, options.port, address, addressLength)) {
        *error = BadListenAddress(options.host);
        return false;
    }
    m_listenFd = ::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (m_listenFd < 0 || ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), addressLength) != 0
        || ::listen(m_listenFd, 16) != 0) {
        *error = SystemError(QStringLiteral("TCP %1:%2").arg(options.host).arg(options.port));
        CloseAll();
        return false;
    }
    m_boundPort = ListeningPort(m_listenFd);
    return true;
}

bool SimServer::OpenUdp(QString* error)
{
    const SimOptions& options = m_meter.Options();
    sockaddr_storage address{};
    socklen_t addressLength = 0;
    if (!ResolveListenAddress(options.host, options.port, address, addressLength)) {
        *error = BadListenAddress(options.host);
        return false;
    }
    const int fd = ::socket(address.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    // The configurator binds the same port number on every interface; both must be allowed to share it.
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || ::bind(fd, reinterpret_cast<sockaddr*>(&address), addressLength) != 0) {
        *error = SystemError(QStringLiteral("UDP %1:%2").arg(options.host).arg(options.port));
        if (fd >= 0)
            ::close(fd);
        CloseAll();
        return false;
    }
    m_boundPort = ListeningPort(fd);
    m_line = std::make_unique<SimConnection>(fd, NewSession(), true);
    return true;
}

bool SimServer::OpenPty(QString* error)
{
    char name[256] = {};
    int master = -1;
    if (::openpty(&master, &m_ptySlaveFd, name, nullptr, nullptr) != 0) {
        *error = SystemError(QStringLiteral("openpty"));
        return false;
    }
    termios raw{};
    ::tcgetattr(m_ptySlaveFd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_ptySlaveFd, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_ptyPath = QString::fromLocal8Bit(name);
    m_line = std::make_unique<SimConnection>(master, NewSession(), false);
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
    const int fd = ::open(options.serialPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios line{};
    bool ready = fd >= 0 && ::tcgetattr(fd, &line) == 0;
    if (ready) {
        ::cfmakeraw(&line);
        line.c_cflag |= CLOCAL | CREAD;
        ::cfsetspeed(&line, speed);
        ready = ::tcsetattr(fd, TCSANOW, &line) == 0;
    }
    if (!ready) {
        *error = SystemError(options.serialPath);
        if (fd >= 0)
            ::close(fd);
        CloseAll();
        return false;
    }
    m_line = std::make_unique<SimConnection>(fd, NewSession(), false);
    return true;
}

std::unique_ptr<MeterSession> SimServer::NewSession() const
{
    const SimOptions& options = m_meter.Options();
    SessionSettings settings;
    settings.framing = options.framing;
    settings.faultDelayMs = options.faultDelayMs;
    settings.baudDelay = options.baudDelay;
    settings.closeAllowed = options.endpoint == SimOptions::Endpoint::Tcp;
    return std::make_unique<MeterSession>(m_meter.Slave(), m_meter.Faults(), settings);
}

void SimServer::CloseAll()
{
    m_clients.clear();
    m_clientCount = 0;
    m_line.reset();
    for (int* fd : {&m_listenFd, &m_ptySlaveFd, &m_wakeFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool SimServer::Start(QString* error)
{
    if (!Open(error))
        return false;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void SimServer::DropClients()
{
    m_dropClients = true;
    Wake();
}

void SimServer::Wake()
{
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
    }
}

void SimServer::Stop()
{
    m_stop = true;
    Wake();
    if (m_thread.joinable())
        m_thread.join();
}

void SimServer::Run()
{
    std::vector<pollfd> fds;
    while (!m_stop) {
        // Wake-up first, then the listener or the line, then the TCP clients in the order of m_clients.
        fds.clear();
        fds.push_back({m_wakeFd, POLLIN, 0});
        const int serving = m_line ? m_line->Fd() : m_listenFd;
        fds.push_back({serving, POLLIN, 0});
        for (const auto& client : m_clients)
            fds.push_back({client->Fd(), POLLIN, 0});
        const std::chrono::nanoseconds wait = PollTimeout();
        const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000),
                               static_cast<long>(wait.count() % 1'000'000'000)};
        const int ready = ::ppoll(fds.data(), static_cast<nfds_t>(fds.size()), &timeout, nullptr);
        if (m_stop)
            break;
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            std::uint64_t wakeups = 0;
            [[maybe_unused]] const ssize_t taken = ::read(m_wakeFd, &wakeups, sizeof wakeups);
        }
        if (m_dropClients.exchange(false)) {
            while (!m_clients.empty())
                DropClient(m_clients.size() - 1);
            continue;
        }
        constexpr short kReadable = POLLIN | POLLHUP | POLLERR;
        // Clients from the back, so dropping one leaves the indices of the others alone.
        for (std::size_t i = m_clients.size(); i-- > 0;) {
            if (!Serve(*m_clients[i], ready > 0 && (fds[2 + i].revents & kReadable)))
                DropClient(i);
        }
        if (m_modem)
            ModemTick();
        if (m_line) {
            // A pseudo-terminal without a client reports a hang-up; there is nothing to read then.
            const short events = ready > 0 ? fds[1].revents : 0;
            if (m_modem && (events & POLLIN))
                ReadModem();
            // Behind a modem the meter is heard only while the call carries data.
            if (m_modem && !m_modem->CarriesData())
                m_line->DropPending();
            if (!Serve(*m_line, !m_modem && (events & POLLIN)))
                m_line->DropPending();  // the line itself stays; only its answers are lost
        } else if (ready > 0 && (fds[1].revents & kReadable)) {
            Accept();
        }
    }
}

bool SimServer::Serve(SimConnection& connection, bool readable)
{
    const int before = connection.Requests();
    bool alive = !readable || connection.ReadFrom(m_meter.Lock(), m_log);
    if (alive)
        connection.CheckQuiet(FrameGap(), kStaleFrame, m_meter.Lock());
    // Counted before any answer leaves: a client that has its answer finds its request counted.
    m_requests += connection.Requests() - before;
    if (alive)
        alive = connection.SendDue(m_log);
    return alive;
}

void SimServer::Accept()
{
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    const int limit = m_meter.Options().maxClients;
    if (static_cast<int>(m_clients.size()) >= limit) {
        // Taken off the backlog and closed at once: the client learns at its first read, not after a
        // time-out, and the backlog never fills with connections nobody will serve.
        ::close(fd);
        Log(QStringLiteral("клиент отклонен: уже подключено %1").arg(limit));
        return;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_clients.push_back(std::make_unique<SimConnection>(fd, NewSession(), false));
    m_clientCount = static_cast<int>(m_clients.size());
    Log(QStringLiteral("клиент подключен"));
}

void SimServer::DropClient(std::size_t index)
{
    // The client's half-received frame and its unsent answers go with it.
    m_clients.erase(m_clients.begin() + static_cast<std::ptrdiff_t>(index));
    m_clientCount = static_cast<int>(m_clients.size());
    Log(QStringLiteral("соединение закрыто"));
}

std::chrono::nanoseconds SimServer::PollTimeout() const
{
    using std::chrono::nanoseconds;
    nanoseconds timeout = std::chrono::milliseconds(200);
    if (m_line)
        timeout = m_line->TimeToNext(timeout, FrameGap(), kStaleFrame);
    for (const auto& client : m_clients)
        timeout = client->TimeToNext(timeout, FrameGap(), kStaleFrame);
    if (m_modem) {
        if (const auto due = m_modem->NextDeadline())
            timeout = std::clamp<nanoseconds>(*due - Clock::now() + std::chrono::milliseconds(1), nanoseconds(0),
                                              timeout);
    }
    return timeout;
}

std::chrono::milliseconds SimServer::FrameGap() const
{
    // An RTU frame ends after 3.5 character times of silence; a few milliseconds cover every speed the
    // meter uses and the scheduling jitter of the host.
    const int baud = m_meter.Options().endpoint == SimOptions::Endpoint::Serial ? m_meter.Options().baud : 115200;
    return std::chrono::milliseconds(std::max(5, 35 * 1000 / baud + 1));
}

void SimServer::Log(const QString& text) const
{
    if (m_log)
        m_log(text);
}
