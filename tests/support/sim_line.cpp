#include "support/sim_line.h"

#include "base/checksums.h"
#include "channel/channel_types.h"
#include "channel/wire_framing.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <cstring>

namespace {

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace

LineTransport::~LineTransport()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool LineTransport::Send(const QByteArray& bytes) const
{
    return ::write(m_fd, bytes.constData(), static_cast<std::size_t>(bytes.size())) == bytes.size();
}

QByteArray LineTransport::Ask(const QByteArray& unit, int timeoutMs)
{
    std::uint8_t rtu[kExchangeBufferSize];
    std::memcpy(rtu, unit.constData(), static_cast<std::size_t>(unit.size()));
    PutLittleEndian16(rtu + unit.size(), Crc16Modbus(rtu, static_cast<std::size_t>(unit.size())));
    std::uint8_t wire[kExchangeBufferSize];
    int wireLength = 0;
    if (EncodeWireFrame(m_framing, rtu, static_cast<int>(unit.size()) + 2, wire, sizeof wire, kFlagsBoth, m_transaction,
                        wireLength)
            != EncodeStatus::kOk
        || ::write(m_fd, wire, static_cast<std::size_t>(wireLength)) != wireLength)
        return {};
    std::uint8_t received[kExchangeBufferSize];
    int receivedLength = 0;
    std::uint8_t answer[kExchangeBufferSize];
    int answerLength = 0;
    pollfd readable{m_fd, POLLIN, 0};
    while (::poll(&readable, 1, timeoutMs) > 0) {
        const ssize_t n = ::read(m_fd, received + receivedLength, sizeof received - receivedLength);
        if (n <= 0)
            return {};
        receivedLength += static_cast<int>(n);
        if (RecogniseAnswer(m_framing, received, receivedLength, wire, wireLength, true, answer, sizeof answer,
                            answerLength)
            == Recognition::kComplete) {
            // RTU keeps its CRC, ASCII its LRC; the MBAP payload has no checksum.
            const int checksum = m_framing == kFramingAscii ? 1 : m_framing == kFramingModbusTcp ? 0 : 2;
            return QByteArray(reinterpret_cast<const char*>(answer), answerLength - checksum);
        }
    }
    return {};
}

int ConnectTcp(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int OpenPty(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (fd >= 0 && ::tcgetattr(fd, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

RunningMeter::RunningMeter(SimOptions options) : meter(options), server(meter)
{
    QString error;
    started = server.Start(&error);
    EXPECT_TRUE(started) << error.toStdString();
}

SimOptions On(SimOptions::Endpoint endpoint, int framing, std::uint16_t level)
{
    SimOptions options;
    options.endpoint = endpoint;
    options.framing = framing;
    options.identity.firmwareLevel = level;
    options.archives = ArchiveSpan{40, true, TChronoArch{10, 3, 24, 12}};
    return options;
}

int ConnectUdp(int port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ClosedByPeer(int fd, int timeoutMs)
{
    pollfd readable{fd, POLLIN, 0};
    char byte = 0;
    return ::poll(&readable, 1, timeoutMs) > 0 && ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}
