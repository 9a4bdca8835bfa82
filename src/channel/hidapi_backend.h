#pragma once
// The HID access of the program: hidapi over the kernel's hidraw devices.

#include "channel/hid_backend.h"

class HidapiBackend : public HidBackend {
public:
    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
};
