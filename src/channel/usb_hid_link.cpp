// UsbHidLink: the device list, open and close.

#include "channel/usb_hid_link.h"

#include "channel/channel_owner.h"
#include "channel/hidapi_backend.h"

UsbHidLink::UsbHidLink() : UsbHidLink(std::make_unique<HidapiBackend>()) {}

UsbHidLink::UsbHidLink(std::unique_ptr<HidBackend> backend) : m_backend(std::move(backend)) {}

UsbHidLink::~UsbHidLink()
{
    CloseDevice();
}

bool UsbHidLink::UsbStopRequested() const
{
    return m_owner && m_owner->UsbStopRequested();
}

std::unique_ptr<HidDevice> UsbHidLink::OpenMatching(const std::string& path, std::uint16_t vendorId,
                                                    std::uint16_t productId)
{
    std::unique_ptr<HidDevice> device = m_backend ? m_backend->Open(path) : nullptr;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    if (!device || !device->Attributes(vendor, product) || vendor != vendorId || product != productId)
        return nullptr;
    return device;
}

int UsbHidLink::Enumerate(std::uint16_t vendorId, std::uint16_t productId, const QString& manufacturer,
                          const QString& product)
{
    m_slots.fill(HidDeviceSlot{});
    m_slotCount = 0;
    if (m_position < 0 || m_position >= kInterfaceIndices)
        m_position = 0;
    if (!m_backend)
        return 0;

    // The system's HID interfaces by index; the ids stand where a device path would carry them.
    const std::vector<HidInterfaceInfo> interfaces = m_backend->Enumerate();
    for (int step = 0; step < kInterfaceIndices; ++step) {
        const int index = (m_position + step) % kInterfaceIndices;
        if (index >= static_cast<int>(interfaces.size()))
            continue;
        const HidInterfaceInfo& info = interfaces[static_cast<std::size_t>(index)];
        if (info.vendorId != vendorId || info.productId != productId)
            continue;
        std::unique_ptr<HidDevice> device = OpenMatching(info.path, vendorId, productId);
        if (!device)
            continue;
        QString serial;
        QString maker;
        QString name;
        device->SerialNumber(serial);
        device->Manufacturer(maker);
        device->Product(name);
        device->Close();
        if (maker != manufacturer || name != product)
            continue;
        if (m_slotCount >= kUsbSlotCount)
            break;
        HidDeviceSlot& slot = m_slots[m_slotCount];
        slot.serialNumber = serial;
        slot.path = info.path;
        slot.empty = false;
        ++m_slotCount;
        if (m_stopAtFirstMatch) {
            // The next refresh starts here again and finds the same device while it stays plugged in.
            m_position = index;
            break;
        }
    }
    return m_slotCount;
}

QString UsbHidLink::SlotSerialNumber(int slot) const
{
    if (slot < 0 || slot >= kUsbSlotCount || m_slots[static_cast<std::size_t>(slot)].empty)
        return {};
    return m_slots[static_cast<std::size_t>(slot)].serialNumber;
}

int UsbHidLink::Open(std::uint16_t vendorId, std::uint16_t productId, int slot)
{
    CloseDevice();
    if (slot < 0 || slot >= kUsbSlotCount || m_slots[static_cast<std::size_t>(slot)].empty)
        return kUsbNotOpen;
    const HidDeviceSlot& listed = m_slots[static_cast<std::size_t>(slot)];
    std::unique_ptr<HidDevice> device = OpenMatching(listed.path, vendorId, productId);
    if (!device)
        return kUsbOpenFailed;
    // Another device may have taken the path since the list was filled.
    QString serial;
    if (!device->SerialNumber(serial) || serial != listed.serialNumber)
        return kUsbOpenFailed;
    int input = 0;
    int output = 0;
    if (!device->ReportLengths(input, output)) {
        ReportToOwner(m_owner, QStringLiteral("return HID_DEVICE_ALREADY_OPENED"));
        return kUsbOpenFailed;
    }
    // A length the device does not state keeps the one known before.
    if (input > 0)
        m_inputLength = input;
    if (output > 0)
        m_outputLength = output;
    m_device = std::move(device);
    m_open = true;
    return kUsbOk;
}

int UsbHidLink::Close()
{
    if (!m_open)
        return kUsbNotOpen;
    m_open = false;
    const std::unique_ptr<HidDevice> device = std::move(m_device);
    if (!device || !device->Close())
        return kUsbInvalidHandle;
    return kUsbOk;
}

void UsbHidLink::CloseDevice()
{
    if (m_device)
        m_device->Close();
    m_device.reset();
    m_open = false;
}
