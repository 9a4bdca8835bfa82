// UsbHidLink: messages cut into output reports and put together again from input reports.

#include "channel/channel_owner.h"
#include "channel/usb_hid_link.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// The most input reports thrown away before a message goes out (the kernel queues far fewer).
constexpr int kMaxStaleReports = 512;

}  // namespace

int UsbHidLink::InputCapacity() const
{
    return m_inputLength > 0 ? std::min(m_inputLength, kReportBufferSize) : kReportBufferSize;
}

void UsbHidLink::ShowReceived(int count)
{
    if (m_owner && count > 0)
        m_owner->MyOnCharsRecieved(m_report.data(), count);
}

// Reports still queued from an exchange that timed out would be taken for the answer to the next
// request; they are shown in the monitor and dropped before a message goes out.
void UsbHidLink::DiscardStaleInput()
{
    for (int i = 0; i < kMaxStaleReports && m_device; ++i) {
        m_report.fill(0);
        const int count = m_device->ReadTimeout(m_report.data(), InputCapacity(), 0);
        if (count <= 0)
            return;
        ShowReceived(count);
    }
}

int UsbHidLink::Write(const std::uint8_t* bytes, int count)
{
    if (!bytes || count < 0)
        count = 0;
    if (m_open)
        DiscardStaleInput();
    const int reports = count / kReportData + 1;
    for (int i = 0; i < reports; ++i) {
        if (UsbStopRequested())
            return kUsbStopped;
        if (!m_open || !m_device)
            return kUsbNotOpen;
        const bool last = i == reports - 1;
        const int result = SendReport(bytes + i * kReportData, last ? count % kReportData : kReportData);
        if (result != kUsbOk)
            return result;
        if (!last)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPaceMs));
    }
    return kUsbOk;
}

int UsbHidLink::SendReport(const std::uint8_t* data, int count)
{
    const int length = std::min(m_outputLength, kReportBufferSize);
    // A report too short for the data would cut the message; the meter would take the rest as lost.
    if (length < kReportHeader + count)
        return kUsbIoError;
    std::fill(m_outputReport.begin(), m_outputReport.begin() + length, 0);
    m_outputReport[0] = kReportId;
    m_outputReport[1] = static_cast<std::uint8_t>(count + 1);
    m_outputReport[2] = static_cast<std::uint8_t>(count);
    if (count > 0)
        std::memcpy(m_outputReport.data() + kReportHeader, data, static_cast<std::size_t>(count));
    const int written = m_device->Write(m_outputReport.data(), length, kWriteWaitMs);
    if (written == kHidTimedOut)
        return kUsbTimeout;
    if (written != length)
        return kUsbIoError;
    if (m_owner)
        m_owner->MyOnCharsTransmitted(m_outputReport.data(), length);
    return kUsbOk;
}

// Waits for one input report in slices of kPollMs so that the stop request and the caller's time-out
// are seen within one slice. kUsbOk with `count` the report's length, or 0 when the read wait passed
// without one; otherwise the result that ends the read.
int UsbHidLink::WaitForReport(const QElapsedTimer& start, int timeoutMs, int& count)
{
    QElapsedTimer wait;
    wait.start();
    for (;;) {
        count = m_device->ReadTimeout(m_report.data(), InputCapacity(), kPollMs);
        if (count < 0) {
            count = 0;
            return kUsbIoError;
        }
        if (count > 0 || wait.elapsed() >= kReadWaitMs)
            return kUsbOk;
        if (start.elapsed() > timeoutMs)
            return kUsbTimeout;
        if (UsbStopRequested())
            return kUsbStopped;
    }
}

int UsbHidLink::HID_ReadFile(std::uint8_t* buffer, int capacity, int& received, int timeoutMs)
{
    QElapsedTimer start;
    start.start();
    if (!buffer || capacity < 0)
        capacity = 0;
    if (capacity > 0)
        std::memset(buffer, 0, static_cast<std::size_t>(capacity));
    int length = 0;
    for (;;) {
        if (UsbStopRequested())
            return kUsbStopped;
        if (!m_open || !m_device)
            return kUsbNotOpen;
        m_report.fill(0);
        int count = 0;
        const int result = WaitForReport(start, timeoutMs, count);
        if (result != kUsbOk)
            return result;
        ShowReceived(count);
        // Only whole reports of the meter's own id carry data; the rest is shown and skipped.
        if (count >= kReportHeader && m_report[0] == kReportId) {
            const int declared = m_report[2];
            // A count beyond the bytes that came is not taken on trust.
            const int n = std::min(declared, count - kReportHeader);
            if (length + n > capacity)
                return kUsbTooLong;
            if (n > 0)
                std::memcpy(buffer + length, m_report.data() + kReportHeader, static_cast<std::size_t>(n));
            length += n;
            if (declared < kReportData) {
                received += length;
                return kUsbOk;
            }
        }
        // A device that keeps sending without ending the message does not hold the caller past its time.
        if (start.elapsed() > timeoutMs)
            return kUsbTimeout;
    }
}
