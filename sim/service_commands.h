#pragma once
// The service command block at register 2665: a u16 code and six parameter bytes, taken as the
// ServiceCommand the configurator sends. A write of the whole block runs the command; each handler
// takes the codes it knows, and a code nobody knows is refused the way the meter refuses a value it
// cannot take (exception 3).

#include "modbus_slave.h"

#include "meter/service_blocks.h"

#include <vector>

class ServiceCommandHandler {
public:
    static constexpr int kNotMine = -1;
    virtual ~ServiceCommandHandler() = default;
    // kNotMine for a code this handler does not serve, else 0 or the exception code of the answer.
    virtual int Execute(const ServiceCommand& command, MeterImage& image) = 0;
};

class ServiceCommandArea : public AreaBehaviour {
public:
    void AddHandler(ServiceCommandHandler* handler) { m_handlers.push_back(handler); }

    int CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire) override;
    int AfterWrite(MeterImage& image, int start, int count) override;

private:
    std::vector<ServiceCommandHandler*> m_handlers;
};
