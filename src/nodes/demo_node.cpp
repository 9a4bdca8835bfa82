#include "nodes/demo_node.h"

#include "channel/channel_types.h"

QString DemoNodeName()
{
    return QStringLiteral("Демо-прибор");
}

int PutDemoNode(NodeBase& base, const DemoMeterAddress& meter)
{
    int index = base.FindByName(DemoNodeName());
    NodeEntry entry;
    if (index >= 0) {
        entry = base.At(index);
    } else {
        entry.record = NodeRecord::New(kChannelIp, FreePortTable::AllFree());
        entry.record.SetName(DemoNodeName());
    }
    // Whatever the user changed, the node has to reach the meter running now.
    NodeRecord& node = entry.record;
    node.SetConnectionType(kChannelIp);
    node.SetIpProtocol(NodeRecord::kIpProtocolTcp);
    node.SetIpAddress(QStringLiteral("127.0.0.1"));
    node.SetIpPort(meter.port);
    node.SetNetworkAddress(meter.networkAddress);
    node.SetSerialNumber(meter.serialNumber);
    node.SetTransportProtocol(kFramingRtu);
    if (index >= 0) {
        base.Replace(index, entry);
        return index;
    }
    base.Append(entry);
    return base.Count() - 1;
}
