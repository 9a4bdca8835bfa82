#pragma once
// Report lengths from a HID report descriptor, the way the device's capabilities state them: the
// longest input and the longest output report in bytes, with one byte for the report id in front.

#include <cstdint>

struct HidReportLengths {
    int input = 0;   // 0: the device has no input report
    int output = 0;  // 0: the device has no output report
};

// False when the descriptor is cut off inside an item.
bool ParseReportLengths(const std::uint8_t* descriptor, int length, HidReportLengths& lengths);
