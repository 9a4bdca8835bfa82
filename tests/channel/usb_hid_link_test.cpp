// The USB link's device list, open and close over a played HID system.

#include "channel/transmit_channel.h"
#include "support/usb_hid_test_rig.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<PlayedHidDevice> PlugOther(UsbHidRig& rig, const char* path, std::uint16_t vendor,
                                           std::uint16_t product, const char* maker, const char* name)
{
    auto device = std::make_shared<PlayedHidDevice>(path, QStringLiteral("X"), vendor, product);
    device->manufacturer = QString::fromLatin1(maker);
    device->product = QString::fromLatin1(name);
    rig.system->Plug(device);
    return device;
}

void ExpectOnlyFirstSlot(const UsbHidLink& link, const char* serial, const char* path)
{
    EXPECT_EQ(link.SlotCount(), 1);
    EXPECT_EQ(link.SlotSerialNumber(0), QString::fromLatin1(serial));
    EXPECT_EQ(link.Slot(0).path, path);
    EXPECT_FALSE(link.Slot(0).empty);
    for (int slot = 1; slot < kUsbSlotCount; ++slot) {
        EXPECT_TRUE(link.Slot(slot).empty) << slot;
        EXPECT_TRUE(link.SlotSerialNumber(slot).isEmpty()) << slot;
    }
}

}  // namespace

TEST(UsbHidList, OneMeterPerRefreshFromTheRememberedIndex)
{
    UsbHidRig rig;
    // Nothing plugged in: nothing listed, nothing opened.
    EXPECT_EQ(rig.List(), 0);
    EXPECT_EQ(rig.link->EnumerationPosition(), 0);

    PlugOther(rig, "/dev/hidraw0", 0x046D, 0xC52B, "Texas Instruments", "MSP430-based HID Device");
    PlugOther(rig, "/dev/hidraw1", 0x2047, 0x0301, "Texas Instruments", "Some other HID Device");
    PlugOther(rig, "/dev/hidraw2", 0x2047, 0x0301, "Texas  Instruments", "MSP430-based HID Device");
    auto meterA = rig.PlugMeter("/dev/hidraw3", "A1");
    auto meterB = rig.PlugMeter("/dev/hidraw4", "B2");

    // Two meters plugged in: a refresh lists the first one only, and the next refresh the same one.
    EXPECT_EQ(rig.List(), 1);
    ExpectOnlyFirstSlot(*rig.link, "A1", "/dev/hidraw3");
    EXPECT_EQ(rig.link->EnumerationPosition(), 3);
    EXPECT_EQ(rig.List(), 1);
    ExpectOnlyFirstSlot(*rig.link, "A1", "/dev/hidraw3");
    // The list looked at the devices and let them go.
    EXPECT_FALSE(meterA->Opened());
    EXPECT_FALSE(meterB->Opened());

    // A unplugged: B moves up to index 3, where the search starts.
    rig.system->Remove(meterA);
    EXPECT_EQ(rig.List(), 1);
    ExpectOnlyFirstSlot(*rig.link, "B2", "/dev/hidraw4");
    EXPECT_EQ(rig.link->EnumerationPosition(), 3);

    // A plugged in again in front of the others: the search still starts at index 3 and finds B.
    meterA = rig.PlugMeter("/dev/hidraw5", "A1", 0);
    EXPECT_EQ(rig.List(), 1);
    ExpectOnlyFirstSlot(*rig.link, "B2", "/dev/hidraw4");
    EXPECT_EQ(rig.link->EnumerationPosition(), 4);

    // B unplugged: nothing at index 4 or after, the search goes round to A at index 0.
    rig.system->Remove(meterB);
    EXPECT_EQ(rig.List(), 1);
    ExpectOnlyFirstSlot(*rig.link, "A1", "/dev/hidraw5");
    EXPECT_EQ(rig.link->EnumerationPosition(), 0);

    // Every refresh starts from an empty list; a position stays where it was when nothing matches.
    rig.system->Remove(meterA);
    EXPECT_EQ(rig.List(), 0);
    EXPECT_TRUE(rig.link->Slot(0).empty);
    EXPECT_TRUE(rig.link->SlotSerialNumber(0).isEmpty());
    EXPECT_EQ(rig.link->EnumerationPosition(), 0);
    EXPECT_TRUE(rig.link->SlotSerialNumber(-1).isEmpty());
    EXPECT_TRUE(rig.link->SlotSerialNumber(kUsbSlotCount).isEmpty());

    // Other ids or strings asked for find other devices.
    EXPECT_EQ(rig.link->Enumerate(0x046D, 0xC52B, QStringLiteral("Texas Instruments"),
                                  QStringLiteral("MSP430-based HID Device")),
              1);
    EXPECT_EQ(rig.link->Slot(0).path, "/dev/hidraw0");
}

TEST(UsbHidOpen, SerialNumberLayoutAndClose)
{
    UsbHidRig rig;
    auto meter = rig.PlugMeter("/dev/hidraw7", "0123456789ABCDEF");

    // Nothing listed yet, or a slot out of range: 2.
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbNotOpen);
    ASSERT_EQ(rig.List(), 1);
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 1), kUsbNotOpen);
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, -1), kUsbNotOpen);
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, kUsbSlotCount), kUsbNotOpen);
    EXPECT_FALSE(rig.link->IsOpen());

    // Another device at the listed path since the list was filled: refused, and let go.
    meter->serialNumber = QStringLiteral("0123456789ABCDEE");
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbOpenFailed);
    EXPECT_FALSE(rig.link->IsOpen());
    EXPECT_FALSE(meter->Opened());
    meter->serialNumber = QStringLiteral("0123456789ABCDEF");
    // Ids other than the device's.
    EXPECT_EQ(rig.link->Open(kUsbVendorId, 0x0302, 0), kUsbOpenFailed);

    // A device whose report layout cannot be read is told to the user and not kept open.
    meter->layoutReadable = false;
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbOpenFailed);
    EXPECT_FALSE(rig.link->IsOpen());
    EXPECT_FALSE(meter->Opened());
    ASSERT_EQ(rig.owner.Boxes().size(), 1);
    EXPECT_EQ(rig.owner.Boxes()[0].text, QStringLiteral("return HID_DEVICE_ALREADY_OPENED"));
    EXPECT_EQ(rig.owner.Boxes()[0].caption, QString::fromUtf8("Информация"));
    EXPECT_EQ(rig.owner.Boxes()[0].style, 0x40u);
    EXPECT_EQ(rig.owner.Log(), QStringList{QStringLiteral("return HID_DEVICE_ALREADY_OPENED")});
    meter->layoutReadable = true;

    // Opened: the report lengths are the device's; a second open replaces the first handle.
    EXPECT_EQ(rig.link->InputReportLength(), 0);
    meter->inputLength = 65;
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbOk);
    EXPECT_TRUE(rig.link->IsOpen());
    EXPECT_EQ(rig.link->InputReportLength(), 65);
    EXPECT_EQ(rig.link->OutputReportLength(), 64);
    // A length the device does not state keeps the one known before.
    meter->inputLength = 0;
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbOk);
    EXPECT_EQ(rig.link->InputReportLength(), 65);

    EXPECT_EQ(rig.link->Close(), kUsbOk);
    EXPECT_FALSE(rig.link->IsOpen());
    EXPECT_FALSE(meter->Opened());
    EXPECT_EQ(rig.link->Close(), kUsbNotOpen);

    // A handle the system no longer knows: 6, and the link counts as closed after it.
    ASSERT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbOk);
    meter->handleValid = false;
    EXPECT_EQ(rig.link->Close(), kUsbInvalidHandle);
    EXPECT_FALSE(rig.link->IsOpen());
    EXPECT_EQ(rig.link->Close(), kUsbNotOpen);
    meter->handleValid = true;

    // Unplugged after it was listed.
    meter->Unplug();
    EXPECT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbOpenFailed);
    // Only the layout failure was told; every other result is the caller's to report.
    EXPECT_EQ(rig.owner.Boxes().size(), 1);
}

TEST(UsbHidOpen, ChannelUsesTheHidapiLinkByDefault)
{
    CTransmitChanel channel;
    auto* link = dynamic_cast<UsbHidLink*>(channel.Usb());
    ASSERT_NE(link, nullptr);
    // Whatever this machine has plugged in, a refresh lists at most one meter and opens nothing.
    const int listed = link->Enumerate(kUsbVendorId, kUsbProductId, QString::fromUtf8(kUsbManufacturer),
                                       QString::fromUtf8(kUsbProduct));
    EXPECT_GE(listed, 0);
    EXPECT_LE(listed, 1);
    EXPECT_FALSE(link->IsOpen());
    EXPECT_EQ(link->Close(), kUsbNotOpen);
}
