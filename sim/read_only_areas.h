#pragma once
// Areas the meter fills itself (identity, descriptors, answer areas, event logs, current values and
// totals, the flash window) refuse writes: exception 14.

#include "modbus_slave.h"

class ReadOnlyAreas : public AreaBehaviour {
public:
    int CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire) override;
};
