#include "support/played_hid_device.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr char kMeterReportId = 0x3F;
constexpr int kDataPerReport = 61;

// One open handle of a played device.
class PlayedHandle : public HidDevice {
public:
    explicit PlayedHandle(std::shared_ptr<PlayedHidDevice> device) : m_device(std::move(device)) {}
    ~PlayedHandle() override { Close(); }

    bool Attributes(std::uint16_t& vendorId, std::uint16_t& productId) override
    {
        vendorId = m_device->vendorId;
        productId = m_device->productId;
        return true;
    }
    bool SerialNumber(QString& text) override { return Text(m_device->serialNumber, text); }
    bool Manufacturer(QString& text) override { return Text(m_device->manufacturer, text); }
    bool Product(QString& text) override { return Text(m_device->product, text); }
    bool ReportLengths(int& input, int& output) override
    {
        input = m_device->inputLength;
        output = m_device->outputLength;
        return m_device->layoutReadable;
    }
    int Write(const std::uint8_t* report, int length, int) override
    {
        if (m_device->writeTimesOut)
            return kHidTimedOut;
        return m_device->TakeOutputReport(report, length);
    }
    int ReadTimeout(std::uint8_t* buffer, int capacity, int timeoutMs) override
    {
        return m_device->GiveInputReport(buffer, capacity, timeoutMs);
    }
    bool Close() override
    {
        if (m_closed)
            return false;
        m_closed = true;
        m_device->CloseHandle();
        return m_device->handleValid;
    }

private:
    bool Text(const QString& value, QString& text) const
    {
        if (!m_device->Plugged())
            return false;
        text = value;
        return true;
    }

    std::shared_ptr<PlayedHidDevice> m_device;
    bool m_closed = false;
};

}  // namespace

PlayedHidDevice::PlayedHidDevice(std::string devicePath, QString serial, std::uint16_t vendor,
                                 std::uint16_t productIdValue)
    : path(std::move(devicePath)), vendorId(vendor), productId(productIdValue), serialNumber(std::move(serial))
{}

void PlayedHidDevice::QueueReport(const QByteArray& report)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_input.push_back(report);
    m_changed.notify_all();
}

void PlayedHidDevice::QueueMessage(const QByteArray& message)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QueueMessageLocked(message);
}

void PlayedHidDevice::QueueMessageLocked(const QByteArray& message)
{
    const int reports = static_cast<int>(message.size()) / kDataPerReport + 1;
    for (int i = 0; i < reports; ++i) {
        const QByteArray data = message.mid(i * kDataPerReport, kDataPerReport);
        QByteArray report(inputLength, '\0');
        report[0] = kMeterReportId;
        report[1] = static_cast<char>(data.size() + 1);
        report[2] = static_cast<char>(data.size());
        report.replace(3, static_cast<int>(data.size()), data);
        m_input.push_back(report.left(inputLength));
    }
    m_changed.notify_all();
}

void PlayedHidDevice::Unplug()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_plugged = false;
    m_changed.notify_all();
}

bool PlayedHidDevice::Plugged() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_plugged;
}

bool PlayedHidDevice::Opened() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handles > 0;
}

QList<QByteArray> PlayedHidDevice::OutputReports() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_outputReports;
}

QList<QByteArray> PlayedHidDevice::Messages() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

int PlayedHidDevice::InputReportsTaken() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_taken;
}

bool PlayedHidDevice::OpenHandle()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_plugged)
        return false;
    ++m_handles;
    return true;
}

void PlayedHidDevice::CloseHandle()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_handles;
}

int PlayedHidDevice::TakeOutputReport(const std::uint8_t* report, int length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_plugged)
        return kHidFailed;
    const QByteArray bytes(reinterpret_cast<const char*>(report), length);
    m_outputReports.append(bytes);
    if (length < 3 || bytes[0] != kMeterReportId)
        return length;
    const int count = static_cast<std::uint8_t>(bytes[2]);
    m_gathering.append(bytes.mid(3, std::min(count, length - 3)));
    if (count < kDataPerReport) {
        const QByteArray message = m_gathering;
        m_gathering.clear();
        m_messages.append(message);
        const QByteArray reply = answer && !stalled ? answer(message) : QByteArray();
        if (!reply.isEmpty()) {
            if (foreignReportFirst)
                m_input.push_back(QByteArray("\x01\x05\x04WXYZ", 7));
            QueueMessageLocked(reply);
        }
    }
    return length;
}

int PlayedHidDevice::GiveInputReport(std::uint8_t* buffer, int capacity, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                       [this] { return !m_input.empty() || !m_plugged; });
    if (!m_plugged)
        return kHidFailed;
    if (m_input.empty())
        return 0;
    const QByteArray report = m_input.front();
    m_input.pop_front();
    const int count = std::min(capacity, static_cast<int>(report.size()));
    std::copy(report.begin(), report.begin() + count, buffer);
    ++m_taken;
    if (unplugAfterReports >= 0 && m_taken >= unplugAfterReports)
        m_plugged = false;
    return count;
}

void PlayedHidBackend::Plug(std::shared_ptr<PlayedHidDevice> device, int index)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto at = index < 0 || index > static_cast<int>(m_devices.size()) ? m_devices.end()
                                                                            : m_devices.begin() + index;
    m_devices.insert(at, std::move(device));
}

void PlayedHidBackend::Remove(const std::shared_ptr<PlayedHidDevice>& device)
{
    device->Unplug();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_devices.erase(std::remove(m_devices.begin(), m_devices.end(), device), m_devices.end());
}

std::vector<HidInterfaceInfo> PlayedHidBackend::Enumerate()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<HidInterfaceInfo> interfaces;
    for (const auto& device : m_devices)
        interfaces.push_back({device->path, device->vendorId, device->productId});
    return interfaces;
}

std::unique_ptr<HidDevice> PlayedHidBackend::Open(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& device : m_devices) {
        if (device->path == path && device->OpenHandle())
            return std::make_unique<PlayedHandle>(device);
    }
    return nullptr;
}
