#include "channel/serial_device.h"

#include "channel/serial_custom_baud.h"
#include "channel/serial_termios.h"
#include "channel/system_error.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Closes a descriptor that failed half-way through opening and hands back the error that stopped it.
int Abandon(int fd)
{
    const int code = errno;
    ::close(fd);
    return code;
}

}  // namespace

int SerialDevice::Open(const QString& path)
{
    Close();
    if (path.isEmpty())
        return ENOENT;
    // No O_CREAT: only an existing device. Non-blocking: a modem line without carrier must not hang
    // the open, and reads wait in poll() instead.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // TIOCEXCL keeps other users out, but root ignores it; the lock holds for everyone who asks for it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0)
        return Abandon(fd);
    termios state{};
    if (::tcgetattr(fd, &state) != 0)
        return Abandon(fd);
    // Raw at once, before any byte can arrive: a freshly booted port would echo input back otherwise.
    MakeRawLineState(state);
    if (::tcsetattr(fd, TCSANOW, &state) != 0)
        return Abandon(fd);
    m_fd = fd;
    return 0;
}

void SerialDevice::Close()
{
    if (m_fd < 0)
        return;
    // The exclusive flag belongs to the terminal, not to this descriptor: it would outlive the close
    // while another descriptor (a pseudo-terminal's other end) keeps the terminal alive.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

int SerialDevice::SetLine(const SerialLineSettings& settings)
{
    if (m_fd < 0)
        return EBADF;
    termios state{};
    if (::tcgetattr(m_fd, &state) != 0)
        return errno;
    bool customBaud = false;
    if (const int code = EncodeLineSettings(state, settings, customBaud); code != 0)
        return code;
    if (::tcsetattr(m_fd, TCSANOW, &state) != 0)
        return errno;
    if (customBaud) {
        if (const int code = SetCustomBaudRate(m_fd, settings.baudRate); code != 0)
            return code;
    }
    // DTR and RTS stay up while the port is configured.
    if (const int code = SetModemLine(kLineDtr, true); code != 0)
        return code;
    return SetModemLine(kLineRts, true);
}

int SerialDevice::SetTimeouts(const SerialTimeouts& timeouts)
{
    if (m_fd < 0)
        return EBADF;
    m_readWaitMs = std::max(0, timeouts.readTotalConstant);
    return 0;
}

int SerialDevice::Purge(unsigned queues)
{
    if (m_fd < 0)
        return EBADF;
    const bool transmit = (queues & kTransmitQueue) != 0;
    const bool receive = (queues & kReceiveQueue) != 0;
    if (!transmit && !receive)
        return 0;
    const int which = transmit && receive ? TCIOFLUSH : (transmit ? TCOFLUSH : TCIFLUSH);
    return ::tcflush(m_fd, which) == 0 ? 0 : errno;
}

int SerialDevice::SetModemLine(ModemLine line, bool on)
{
    if (m_fd < 0)
        return EBADF;
    int bits = line == kLineDtr ? TIOCM_DTR : TIOCM_RTS;
    if (::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0)
        return 0;
    // A pseudo-terminal or a USB device without modem lines: nothing to switch.
    if (errno == ENOTTY || errno == EINVAL || errno == EOPNOTSUPP)
        return 0;
    return errno;
}

int SerialDevice::ReadSome(std::uint8_t* dest, int capacity, int& got)
{
    got = 0;
    if (m_fd < 0)
        return EBADF;
    pollfd waiting{m_fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, m_readWaitMs);
    if (ready < 0)
        return errno == EINTR ? 0 : errno;  // an interrupted wait simply saw nothing
    if (ready == 0)
        return 0;
    const ssize_t count = ::read(m_fd, dest, static_cast<size_t>(capacity));
    if (count > 0) {
        got = static_cast<int>(count);
        return 0;
    }
    if (count == 0)
        return EIO;  // end of file on a terminal: the device hung up or went away
    return errno == EAGAIN ? 0 : errno;
}

int SerialDevice::WriteAll(const std::uint8_t* bytes, int count)
{
    if (m_fd < 0)
        return EBADF;
    int done = 0;
    bool interrupted = false;  // one interruption in a row is tried again, as any system call here
    while (done < count) {
        const ssize_t written = ::write(m_fd, bytes + done, static_cast<size_t>(count - done));
        if (written > 0) {
            done += static_cast<int>(written);
            interrupted = false;
            continue;
        }
        if (written == 0)
            return EIO;
        if (errno == EINTR && !interrupted) {
            interrupted = true;
            continue;
        }
        if (errno != EAGAIN)
            return errno;
        // The driver's queue is full: wait until it takes more (no write time-out, as without flow
        // control the line always drains).
        pollfd waiting{m_fd, POLLOUT, 0};
        if (::poll(&waiting, 1, -1) < 0 && errno != EINTR)
            return errno;
    }
    return 0;
}

bool SerialDevice::IsRetryable(int code)
{
    return code == EINTR || code == EAGAIN;
}

QString SerialDevice::ErrorText(int code)
{
    return SystemErrorText(code);
}
