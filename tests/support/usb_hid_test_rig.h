#pragma once
// A UsbHidLink over a played HID system, with a recording owner.

#include "channel/usb_hid_link.h"
#include "support/played_hid_device.h"
#include "support/recording_owner.h"

#include <memory>

class UsbHidRig {
public:
    UsbHidRig()
    {
        auto backend = std::make_unique<PlayedHidBackend>();
        system = backend.get();
        link = std::make_unique<UsbHidLink>(std::move(backend));
        link->SetOwner(&owner);
    }

    // A meter plugged in at the end of the system's list (or at `index`).
    std::shared_ptr<PlayedHidDevice> PlugMeter(const char* path, const char* serial, int index = -1)
    {
        auto device = std::make_shared<PlayedHidDevice>(path, QString::fromLatin1(serial));
        system->Plug(device, index);
        return device;
    }

    // The refresh of the device list, as the channel selection dialog asks for it.
    int List()
    {
        return link->Enumerate(kUsbVendorId, kUsbProductId, QString::fromUtf8(kUsbManufacturer),
                               QString::fromUtf8(kUsbProduct));
    }

    // Lists the first meter and opens it.
    int ListAndOpen()
    {
        List();
        return link->Open(kUsbVendorId, kUsbProductId, 0);
    }

    RecordingOwner owner;
    PlayedHidBackend* system = nullptr;  // owned by the link
    std::unique_ptr<UsbHidLink> link;
};
