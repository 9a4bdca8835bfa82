#include "lines/collect_plan.h"

#include "channel/channel_types.h"
#include "channel/port_table.h"

#include <algorithm>
#include <map>

namespace {

bool IsCollected(int kind)
{
    return kind == kChannelDirect || kind == kChannelModem || kind == kChannelIp;
}

// The key that says which meters share a line, and the line's name for people.
std::pair<QString, QString> LineOf(const NodeRecord& node)
{
    if (node.ConnectionType() == kChannelIp) {
        const QString place = node.IpAddress().trimmed() + u':' + QString::number(node.IpPort());
        const bool tcp = node.IpProtocol() == NodeRecord::kIpProtocolTcp;
        return {(tcp ? QStringLiteral("tcp ") : QStringLiteral("udp ")) + place,
                tcp ? place : QStringLiteral("udp ") + place};
    }
    const int number = node.ComPort();
    const QString path = PortTable::Global().DevicePath(number);
    return {path.isEmpty() ? QStringLiteral("COM%1").arg(number) : path, PortTable::DisplayName(number, path)};
}

CollectMeter MeterOf(const NodeRecord& node)
{
    CollectMeter meter;
    meter.name = node.Name();
    meter.node = node;
    ApplyNodeToChannel(node, meter.settings);
    meter.target = TargetOfNode(node);
    return meter;
}

}  // namespace

std::optional<int> CollectKindFromName(const QString& name)
{
    if (name == QLatin1String("direct"))
        return kChannelDirect;
    if (name == QLatin1String("modem"))
        return kChannelModem;
    if (name == QLatin1String("ip"))
        return kChannelIp;
    return std::nullopt;
}

bool PlanCollect(const NodeBase& base, const CollectChoice& choice, std::vector<CollectLine>* lines, QString* error)
{
    std::vector<const NodeRecord*> chosen;
    if (choice.names.isEmpty()) {
        for (const NodeEntry& entry : base.Entries()) {
            if (IsCollected(entry.record.ConnectionType()))
                chosen.push_back(&entry.record);
        }
    } else {
        for (const QString& name : choice.names) {
            const int index = base.FindByName(name);
            if (index < 0) {
                *error = QStringLiteral("Узел учета \"%1\" не найден!").arg(name);
                return false;
            }
            const NodeRecord& node = base.At(index).record;
            if (!IsCollected(node.ConnectionType())) {
                *error = QStringLiteral("Узел учета \"%1\" подключен через USB: такие приборы не опрашиваются")
                             .arg(name);
                return false;
            }
            // A node named twice is read once.
            if (std::find(chosen.begin(), chosen.end(), &node) == chosen.end())
                chosen.push_back(&node);
        }
    }
    lines->clear();
    std::map<QString, std::size_t> byKey;
    for (const NodeRecord* node : chosen) {
        if (choice.kind && node->ConnectionType() != *choice.kind)
            continue;
        const auto [key, name] = LineOf(*node);
        auto found = byKey.find(key);
        if (found == byKey.end()) {
            found = byKey.emplace(key, lines->size()).first;
            lines->push_back(CollectLine{name, {}});
        }
        (*lines)[found->second].meters.push_back(MeterOf(*node));
    }
    return true;
}
