#include "app/ui/demo_meter.h"

#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

namespace {

SimOptions DemoOptions()
{
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Tcp;
    options.host = QStringLiteral("127.0.0.1");
    options.port = 0;  // any free port
    return options;
}

}  // namespace

DemoMeter::DemoMeter()
    : m_meter(std::make_unique<MeterSimulator>(DemoOptions())), m_server(std::make_unique<SimServer>(*m_meter))
{
}

DemoMeter::~DemoMeter()
{
    m_server->Stop();
}

bool DemoMeter::Start(QString* error)
{
    return m_server->Start(error);
}

DemoMeterAddress DemoMeter::Address() const
{
    const SimOptions& options = m_meter->Options();
    DemoMeterAddress address;
    address.port = m_server->BoundPort();
    address.networkAddress = options.address;
    address.serialNumber = static_cast<std::int32_t>(options.identity.serialNumber);
    return address;
}
