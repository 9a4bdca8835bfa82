#include "demo_meter.h"

#include "channel/channel_types.h"

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

NodeRecord DemoMeter::Node() const
{
    NodeRecord node = NodeRecord::New(kChannelIp, FreePortTable::AllFree());
    node.SetName(QString::fromUtf8(kNodeName));
    node.SetNetworkAddress(m_meter.Options().address);
    node.SetSerialNumber(static_cast<std::int32_t>(m_meter.Options().identity.serialNumber));
    node.SetIpProtocol(NodeRecord::kIpProtocolTcp);
    node.SetIpAddress(m_meter.Options().host);
    node.SetIpPort(m_server.BoundPort());
    node.SetTransportProtocol(kFramingRtu);
    return node;
}
