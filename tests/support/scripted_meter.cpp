#include "support/scripted_meter.h"

#include "base/checksums.h"
#include "channel/channel_types.h"

#include <QMutexLocker>

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

ScriptedMeter::ScriptedMeter(std::deque<MeterAct> script) : m_script(std::move(script)) {}

void FillMeterPattern(MeterImage& image, std::uint8_t seed)
{
    for (int i = 0; i < MeterImage::kByteCount; ++i)
        image.Bytes()[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) + seed);
}

int ScriptedAnswer(ModbusSlave& slave, const QByteArray& request, MeterAct act, std::uint8_t* out, int capacity)
{
    if (act == MeterAct::kSilent || request.size() < 4)
        return 0;
    const int length = slave.Answer(reinterpret_cast<const std::uint8_t*>(request.constData()),
                                    static_cast<int>(request.size()) - 2, out, capacity);
    if (length < 5)
        return 0;
    if (act == MeterAct::kStale && out[1] == 0x48) {
        PutBigEndian16(out + 4, static_cast<std::uint16_t>(GetBigEndian16(out + 4) - 1));
        PutLittleEndian16(out + length - 2, Crc16Modbus(out, static_cast<std::size_t>(length - 2)));
    }
    if (act == MeterAct::kBadCrc)
        out[length - 1] ^= 0xFF;
    return length;
}

int ScriptedMeter::RequestLength(const std::uint8_t* bytes, int available)
{
    if (available < 2)
        return 0;
    switch (bytes[1]) {
        case 0x03:
            return 8;
        case 0x10:
            return available >= 7 ? 9 + bytes[6] : 0;
        case 0x48:
            return available >= 12 ? 16 + GetBigEndian16(bytes + 10) : 0;
        default:
            return available;  // not a request this meter knows: take what is there
    }
}

ScriptedMeter::~ScriptedMeter()
{
    Stop();
}

int ScriptedMeter::ListenTcp()
{
    m_listener.emplace(SOCK_STREAM);
    const int port = m_listener->Listen(1);
    return port > 0 ? port : 0;
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
    m_connection.reset();
    m_listener.reset();
}

QList<MeterRequest> ScriptedMeter::Requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

bool ScriptedMeter::AcceptConnection()
{
    while (m_listener && !m_stop.load()) {
        PeerSocket connection = m_listener->Accept(kPollMs);
        if (connection.Fd() < 0)
            continue;
        // Answers go out the moment they are written, as on a serial line.
        const int on = 1;
        ::setsockopt(connection.Fd(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        m_connection.emplace(std::move(connection));
        m_fd = m_connection->Fd();
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
            const int length = RequestLength(reinterpret_cast<const std::uint8_t*>(pending.constData()),
                                             int(pending.size()));
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
    std::uint8_t answer[kExchangeBufferSize];
    const int length = ScriptedAnswer(m_slave, request, act, answer, sizeof answer);
    if (length > 0)
        WriteAll(m_fd, QByteArray(reinterpret_cast<const char*>(answer), length));
}
