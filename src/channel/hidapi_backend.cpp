#include "channel/hidapi_backend.h"

#include "channel/hid_report_descriptor.h"

#include <hidapi.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

// Device strings are read into 80 bytes of wide text, as the meter's list keeps them.
constexpr int kStringChars = 40;
// A report descriptor is at most 4096 bytes (HID_MAX_DESCRIPTOR_SIZE).
constexpr qint64 kMaxDescriptor = 4096;

using StringGetter = int (*)(hid_device*, wchar_t*, size_t);

bool ReadString(hid_device* device, StringGetter getter, QString& text)
{
    wchar_t buffer[kStringChars] = {};
    if (getter(device, buffer, kStringChars) != 0)
        return false;
    buffer[kStringChars - 1] = L'\0';
    text = QString::fromWCharArray(buffer);
    return true;
}

class HidapiDevice : public HidDevice {
public:
    HidapiDevice(hid_device* device, std::string path) : m_device(device), m_path(std::move(path)) {}
    ~HidapiDevice() override { Close(); }

    bool Attributes(std::uint16_t& vendorId, std::uint16_t& productId) override
    {
        const hid_device_info* info = m_device ? hid_get_device_info(m_device) : nullptr;
        if (!info)
            return false;
        vendorId = info->vendor_id;
        productId = info->product_id;
        return true;
    }

    bool SerialNumber(QString& text) override { return Get(hid_get_serial_number_string, text); }
    bool Manufacturer(QString& text) override { return Get(hid_get_manufacturer_string, text); }
    bool Product(QString& text) override { return Get(hid_get_product_string, text); }

    // hidraw publishes the report descriptor next to the device: /sys/class/hidraw/hidrawN/device.
    bool ReportLengths(int& input, int& output) override
    {
        const QString node = QFileInfo(QString::fromStdString(m_path)).fileName();
        QFile file(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(node));
        if (node.isEmpty() || !file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = file.read(kMaxDescriptor);
        HidReportLengths lengths;
        if (bytes.isEmpty()
            || !ParseReportLengths(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<int>(bytes.size()), lengths))
            return false;
        input = lengths.input;
        output = lengths.output;
        return true;
    }

    // The kernel bounds an interrupt transfer itself; one it gives up on comes back as ETIMEDOUT.
    int Write(const std::uint8_t* report, int length, int) override
    {
        if (!m_device)
            return kHidFailed;
        errno = 0;
        const int written = hid_write(m_device, report, static_cast<size_t>(length));
        if (written < 0)
            return errno == ETIMEDOUT ? kHidTimedOut : kHidFailed;
        return written;
    }

    int ReadTimeout(std::uint8_t* buffer, int capacity, int timeoutMs) override
    {
        if (!m_device)
            return kHidFailed;
        const int count = hid_read_timeout(m_device, buffer, static_cast<size_t>(capacity), timeoutMs);
        return count < 0 ? kHidFailed : count;
    }

    bool Close() override
    {
        if (!m_device)
            return false;
        hid_close(m_device);
        m_device = nullptr;
        return true;
    }

private:
    bool Get(StringGetter getter, QString& text) { return m_device && ReadString(m_device, getter, text); }

    hid_device* m_device = nullptr;
    std::string m_path;
};

}  // namespace

std::vector<HidInterfaceInfo> HidapiBackend::Enumerate()
{
    std::vector<HidInterfaceInfo> interfaces;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info; info = info->next) {
        if (info->path)
            interfaces.push_back({info->path, info->vendor_id, info->product_id});
    }
    hid_free_enumeration(list);
    return interfaces;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path)
{
    hid_device* device = hid_open_path(path.c_str());
    if (!device)
        return nullptr;
    return std::make_unique<HidapiDevice>(device, path);
}
