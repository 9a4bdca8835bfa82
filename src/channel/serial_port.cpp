#include "channel/serial_port.h"

#include "channel/channel_owner.h"
#include "channel/channel_settings.h"
#include "channel/channel_types.h"
#include "channel/port_table.h"
#include "channel/serial_open_failure.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>

namespace {

constexpr unsigned kBothQueues = CCommPortClass::kPurgeTransmit | CCommPortClass::kPurgeReceive;

QString ReadFailedText(int code)
{
    return QStringLiteral("Ошибка выполнения ReadFile (код %1)!").arg(code);
}

QString WriteFailedText(int code)
{
    return QStringLiteral("Ошибка выполнения WriteFile (код %1)!").arg(code);
}

}  // namespace

template <typename Call>
int CCommPortClass::SystemCall(Call call)
{
    int code = call();
    if (SerialDevice::IsRetryable(code))
        code = call();
    if (code == 0)
        return kTransportOk;
    Report(SerialDevice::ErrorText(code));
    return kTransportFailed;
}

void CCommPortClass::Report(const QString& text) const
{
    ReportToOwner(m_owner, text);
}

void CCommPortClass::InvalidateCache()
{
    m_appliedLine.reset();
    m_appliedTimeouts.reset();
}

int CCommPortClass::Open(int portNumber)
{
    LogToOwner(m_owner, QStringLiteral("Попытка открытия СОМ%1!").arg(portNumber));
    InvalidateCache();
    m_device.Close();
    const QString path = PortTable::Global().DevicePath(portNumber);
    int code = 0;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        code = m_device.Open(path);
        if (code == 0) {
            LogToOwner(m_owner, QStringLiteral("Успешно!"));
            return kTransportOk;
        }
        // Only a port someone else holds may come free; a missing device or permission will not.
        if (!IsSerialPortBusy(code))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(kOpenRetryPauseMs));
    }
    // The monitor keeps the system's own words next to ours.
    if (!path.isEmpty())
        LogToOwner(m_owner, QStringLiteral("%1: %2").arg(path, SerialDevice::ErrorText(code)));
    Report(SerialOpenFailureText(portNumber, path, code));
    return kTransportFailed;
}

void CCommPortClass::Close()
{
    if (!m_device.IsOpen())
        return;
    m_device.Close();
    InvalidateCache();
    LogToOwner(m_owner, QStringLiteral("Закрытие СОМ-порта!"));
}

int CCommPortClass::ApplyLineSettings(int baudRate, int byteSize, int stopBits, int parity)
{
    const SerialLineSettings settings{baudRate, byteSize, stopBits, parity};
    if (m_appliedLine == settings)
        return kTransportOk;
    // Remembered only once the port took them: a failed apply must reach the system next time.
    if (SystemCall([&] { return m_device.SetLine(settings); }) != kTransportOk)
        return kTransportFailed;
    m_appliedLine = settings;
    return Purge(kBothQueues);
}

int CCommPortClass::ApplyTimeouts()
{
    int interval = m_modemMode ? kModemReadIntervalMs : kReadIntervalMs;
    if (m_settings && m_settings->framing == kFramingTransparent && m_settings->readIntervalOverrideFlag != 0)
        interval = std::clamp<int>(m_settings->readIntervalOverrideMs, 0, INT_MAX - 1);
    const SerialTimeouts timeouts{interval, 0, interval + 1, 0, 0};
    if (m_appliedTimeouts == timeouts)
        return kTransportOk;
    if (SystemCall([&] { return m_device.SetTimeouts(timeouts); }) != kTransportOk)
        return kTransportFailed;
    m_appliedTimeouts = timeouts;
    return Purge(kBothQueues);
}

int CCommPortClass::Purge(unsigned flags)
{
    return SystemCall([&] { return m_device.Purge(flags); });
}

int CCommPortClass::SetDtr(bool on)
{
    return SystemCall([&] { return m_device.SetModemLine(SerialDevice::kLineDtr, on); });
}

int CCommPortClass::SetRts(bool on)
{
    return SystemCall([&] { return m_device.SetModemLine(SerialDevice::kLineRts, on); });
}

int CCommPortClass::Write(const std::uint8_t* bytes, int count)
{
    if (ApplyTimeouts() != kTransportOk || SetDtr(true) != kTransportOk || SetRts(true) != kTransportOk)
        return kTransportFailed;
    if (count < 0 || (bytes == nullptr && count > 0)) {
        Report(WriteFailedText(EINVAL));
        return kTransportFailed;
    }
    // An interrupted write is resumed inside WriteAll; repeating the whole call would send bytes twice.
    if (const int code = m_device.WriteAll(bytes, count); code != 0) {
        Report(WriteFailedText(code));
        return kTransportFailed;
    }
    if (m_owner && count > 0)
        m_owner->MyOnCharsTransmitted(bytes, count);
    return kTransportOk;
}

int CCommPortClass::Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    if (ApplyTimeouts() != kTransportOk)
        return kTransportFailed;
    for (;;) {
        if (m_owner && m_owner->StopRequested())
            return kTransportStopped;
        if (freeSpace <= 0) {
            Report(QStringLiteral("Переполнение буфера в CCommPortClass::ReadData!"));
            return kTransportFailed;
        }
        // Waits at most the total read time-out, so the stop request is seen every few ms.
        int got = 0;
        int code = m_device.ReadSome(dest, freeSpace, got);
        if (SerialDevice::IsRetryable(code))
            code = m_device.ReadSome(dest, freeSpace, got);
        if (code != 0) {
            Report(ReadFailedText(code));
            return kTransportFailed;
        }
        if (got > 0) {
            if (m_owner)
                m_owner->MyOnCharsRecieved(dest, got);
            received += got;
            return kTransportOk;
        }
        // Looked at after the wait, so the port is read at least once: on a busy machine applying the
        // time-outs alone can take longer than a short time-out, and bytes waiting there would be missed.
        if (Clock::now() - start >= std::chrono::milliseconds(timeoutMs))
            return kTransportTimeout;
    }
}

int CCommPortClass::Find(const std::uint8_t* haystack, int length, const char* text)
{
    if (haystack == nullptr || text == nullptr || length < 0)
        return -1;
    const std::size_t size = std::strlen(text);
    if (size == 0)
        return 0;
    const auto* needle = reinterpret_cast<const std::uint8_t*>(text);
    const std::uint8_t* end = haystack + length;
    const std::uint8_t* found = std::search(haystack, end, needle, needle + size);
    return found == end ? -1 : static_cast<int>(found - haystack);
}

bool ProbePort(int portNumber)
{
    SerialDevice device;
    return device.Open(PortTable::Global().DevicePath(portNumber)) == 0;
}
