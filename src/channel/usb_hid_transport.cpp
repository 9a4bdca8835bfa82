#include "channel/usb_hid_transport.h"

#include "channel/channel_links.h"
#include "channel/channel_owner.h"

void UsbHidTransport::Report(const char* text) const
{
    ReportToOwner(m_links.owner, QString::fromUtf8(text));
}

bool UsbHidTransport::Connect(bool& openFailed)
{
    UsbTransport* usb = m_links.usb.get();
    if (!usb || usb->Open(kUsbVendorId, kUsbProductId, m_links.settings.usbDeviceIndex) != kUsbOk) {
        openFailed = true;
        Report("Не удалось открыть USB соединение!!");
        return false;
    }
    return true;
}

void UsbHidTransport::Disconnect()
{
    UsbTransport* usb = m_links.usb.get();
    if (usb && usb->IsOpen() && usb->Close() != kUsbOk)
        Report("Не удалось корректно закрыть USB соединение!!");
}

int UsbHidTransport::Write(const std::uint8_t* bytes, int count)
{
    const int result = m_links.usb ? m_links.usb->Write(bytes, count) : kUsbNotOpen;
    if (result == kUsbOk)
        return kTransportOk;
    if (result == kUsbStopped) {
        LogToOwner(m_links.owner, QString::fromUtf8("Операция завершена по желанию пользователя!"));
        return kTransportStopped;
    }
    Report("Не удалось записать данные в USB порт!");
    return kTransportFailed;
}

int UsbHidTransport::Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs)
{
    const int result = m_links.usb ? m_links.usb->Read(dest, freeSpace, received, timeoutMs) : kUsbNotOpen;
    switch (result) {
        case kUsbOk:
            return kTransportOk;
        case kUsbTimeout:
            return kTransportTimeout;
        case kUsbStopped:
            return kTransportStopped;
        default:
            // The link returns its failures without telling anyone; a failed read promises the user was told.
            Report("Не удалось прочитать данные из USB порта!");
            return kTransportFailed;
    }
}
