#pragma once
// Choosing a node: its connection fields go into the channel settings, its network address and
// Modbus function set to the driver, and a line about it to the status strip.

#include "channel/transmit_channel.h"
#include "nodes/node_record.h"

#include <QString>

#include <cstdint>

// Settings a node does not carry (modem init string, dial mode, modem type and time-out, USB device,
// the stuffed-frame flag placement) keep their values; the shared-memory link number goes back to 0.
void ApplyNodeToChannel(const NodeRecord& node, ChannelSettings& settings);

// What the driver takes from the node: the meter's address and the functions to use
// (0 standard 3 and 16, 1 the meter's own 0x48).
struct NodeTarget {
    std::uint8_t networkAddress = 0;
    std::uint8_t functionSet = 1;
};
NodeTarget TargetOfNode(const NodeRecord& node);

// "Узел учета - <name>; серийный N - <serial>; сет. адрес - <address>". The serial is the meter's own once
// a connection has read it (`meterSerial` not 0), the node's stored one before: a node saved without a
// serial still shows what it is connected to. The stored number changes only when the user saves the node.
QString NodeStatusText(const NodeRecord& node, std::uint32_t meterSerial = 0);
