#include "support/scripted_meter.h"

#include <QMutexLocker>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kPollMs = 10;  // how soon the thread notices Stop

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

}  // namespace

ScriptedMeter::ScriptedMeter(MeterImage& image, std::deque<MeterAct> script)
    : m_image(image)
    , m_script(std::move(script))
{
}

ScriptedMeter::~ScriptedMeter()
{
    Stop();
    if (m_listenFd >= 0)
        ::close(m_listenFd);
}

int ScriptedMeter::ListenTcp()
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_listenFd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_listenFd, 1) != 0
        || ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

void ScriptedMeter::Start()
{
    m_clock.start();
    m_thread = std::thread([this] { Run(); });
}

void ScriptedMeter::Stop()
{
    m_stop.store(true);
    if (m_thread.joinable())
        m_thread.join();
    if (m_ownsFd && m_fd >= 0)
        ::close(m_fd);
    m_ownsFd = false;
    m_fd = -1;
}

QList<MeterRequest> ScriptedMeter::Requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

bool ScriptedMeter::AcceptConnection()
{
    while (!m_stop.load()) {
        pollfd pfd{m_listenFd, POLLIN, 0};
        if (::poll(&pfd, 1, kPollMs) <= 0)
            continue;
        m_fd = ::accept(m_listenFd, nullptr, nullptr);
        if (m_fd < 0)
            return false;
        m_ownsFd = true;
        const int on = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return true;
    }
    return false;
}

void ScriptedMeter::Run()
{
    if (m_fd < 0 && !AcceptConnection())
        return;
    QByteArray pending;
    while (!m_stop.load()) {
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, kPollMs) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n == 0)
                return;  // the master closed the connection
            continue;
        }
        pending.append(buffer, n);
        for (;;) {
            const int length =
                MeterImage::RequestLength(reinterpret_cast<const std::uint8_t*>(pending.constData()), int(pending.size()));
            if (length == 0 || pending.size() < length)
                break;
            Act(pending.left(length));
            pending.remove(0, length);
        }
    }
}

void ScriptedMeter::Act(const QByteArray& request)
{
    {
        QMutexLocker lock(&m_mutex);
        m_requests.append(MeterRequest{request, m_clock.elapsed()});
    }
    const MeterAct act = m_script.empty() ? MeterAct::kAnswer : m_script.front();
    if (!m_script.empty())
        m_script.pop_front();
    if (act == MeterAct::kSilent)
        return;
    QByteArray answer = m_image.Answer(request, act == MeterAct::kStale ? -1 : 0);
    if (act == MeterAct::kBadCrc)
        answer[answer.size() - 1] = static_cast<char>(answer[answer.size() - 1] ^ 0xFF);
    WriteAll(m_fd, answer);
}
