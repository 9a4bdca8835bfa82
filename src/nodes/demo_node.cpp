#include "nodes/demo_node.h"

#include "channel/channel_types.h"

QString DemoNodeName()
{
    return QStringLiteral("Демо-прибор");
}

namespace {

// Whatever the user changed, the node has to reach the meter running now.
void PointAtDemoMeter(NodeRecord& node, const DemoMeterAddress& meter)
{
    node.SetConnectionType(kChannelIp);
    node.SetIpProtocol(NodeRecord::kIpProtocolTcp);
    node.SetIpAddress(QStringLiteral("127.0.0.1"));
    node.SetIpPort(meter.port);
    node.SetNetworkAddress(meter.networkAddress);
    node.SetSerialNumber(meter.serialNumber);
    node.SetTransportProtocol(kFramingRtu);
}

}  // namespace

NodeRecord DemoNodeRecord(const DemoMeterAddress& meter)
{
    NodeRecord node = NodeRecord::New(kChannelIp, FreePortTable::AllFree());
    node.SetName(DemoNodeName());
    PointAtDemoMeter(node, meter);
    return node;
}

int PutDemoNode(NodeBase& base, const DemoMeterAddress& meter)
{
    const int index = base.FindByName(DemoNodeName());
    if (index >= 0) {
        NodeEntry entry = base.At(index);
        PointAtDemoMeter(entry.record, meter);
        base.Replace(index, entry);
        return index;
    }
    NodeEntry entry;
    entry.record = DemoNodeRecord(meter);
    base.Append(entry);
    return base.Count() - 1;
}
