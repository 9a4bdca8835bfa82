#pragma once
// The node of the demo meter: the simulated meter that `--demo` runs on a loopback TCP port.

#include "nodes/node_base.h"

#include <QString>

#include <cstdint>

struct DemoMeterAddress {
    int port = 0;                     // the loopback TCP port the meter listens on
    std::uint8_t networkAddress = 1;  // the meter's Modbus address
    std::int32_t serialNumber = 0;    // shown in the status strip
};

// The name the demo node goes by in the base.
QString DemoNodeName();

// The node that reaches `meter`: Ethernet/Internet, TCP to 127.0.0.1, RTU framing.
NodeRecord DemoNodeRecord(const DemoMeterAddress& meter);

// Puts the demo node into `base`, or brings an existing one (found by name) up to date with `meter`.
// Returns its index.
int PutDemoNode(NodeBase& base, const DemoMeterAddress& meter);
