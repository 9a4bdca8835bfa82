#include "demo_meter.h"

namespace {

SimOptions DemoOptions()
{
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Tcp;
    options.host = QStringLiteral("127.0.0.1");
    options.port = 0;
    return options;
}

}  // namespace

DemoMeter::DemoMeter() : m_meter(DemoOptions()), m_server(m_meter) {}

DemoMeter::~DemoMeter()
{
    if (m_started)
        m_server.Stop();
}

bool DemoMeter::Start(QString* error)
{
    m_started = m_server.Start(error);
    return m_started;
}

DemoMeterAddress DemoMeter::Address() const
{
    const SimOptions& options = m_meter.Options();
    DemoMeterAddress address;
    address.port = m_server.BoundPort();
    address.networkAddress = options.address;
    address.serialNumber = static_cast<std::int32_t>(options.identity.serialNumber);
    return address;
}
