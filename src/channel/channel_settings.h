#pragma once
// The settings of one channel: what the node or the command line chose, read by the channel and by the
// transport of its kind.

#include "channel/channel_types.h"

#include <QString>

#include <cstdint>

// Everything a channel is configured with, at the values a new channel starts from.
struct ChannelSettings {
    std::int32_t kind = kChannelDirect;
    std::int32_t tcp = 1;  // 1 TCP, 0 UDP
    std::int32_t framing = kFramingRtu;
    QString ipAddress;
    QString modemInitString;
    QString phoneNumber;
    QString spareText;  // kept with the others, read by nothing
    std::int32_t ipPort = 0;
    std::int32_t portNumber = 1;  // COM number, 1-based
    std::int32_t baudRate = 115200;
    std::int32_t dialMode = 1;  // 0 pulse, otherwise tone
    std::int32_t readIntervalOverrideFlag = 0;
    std::int32_t readIntervalOverrideMs = 0;
    std::int32_t modemConnectTimeoutSec = 120;
    std::int32_t answerTimeoutSec = 3;
    std::int32_t connectTimeoutSec = 0;  // TCP connect wait; 0: from the answer time-out
    std::int32_t attempts = 5;
    std::int32_t byteSize = 0;
    std::int32_t parity = 0;          // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::int32_t stopBits = 0;        // 0 one, 1 one and a half, 2 two
    std::int32_t modemType = 0;       // 0 GSM, 1 wired, 2 user string
    std::int32_t flagPlacement = 0;   // StuffedFlagPlacement
    std::int32_t usbDeviceIndex = 0;  // 0..5
    std::int32_t modemConnected = 0;
    std::int32_t sharedMemoryLinkNumber = 0;  // zero-based
    std::uint8_t answerLengthCheck = 1;
};
