#pragma once
// The maker data (register 35: 6 bytes below firmware level 512, 14 from 512) and the service-centre
// data (register 67, 28 bytes), kept as written. Below 512 the registers past the six bytes do not
// exist; a model index outside 0..4 is refused.

#include "modbus_slave.h"
#include "sim_clock.h"
#include "sim_options.h"

class ServiceDataArea : public AreaBehaviour {
public:
    // What the meter holds when it leaves the factory (and the service centre's first entries).
    static void Initialise(MeterImage& image, const SimIdentity& identity, MeterSeconds now);

    int CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire) override;
    int BeforeRead(MeterImage& image, int start, int count) override;
};
