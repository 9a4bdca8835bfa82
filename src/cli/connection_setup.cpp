#include "cli/connection_setup.h"

#include "channel/modem_step.h"
#include "channel/port_table.h"

namespace {

constexpr int kDefaultByteSize = 8;

void SetEndpoint(ChannelSettings& settings, const QString& endpoint, bool tcp)
{
    const qsizetype colon = endpoint.lastIndexOf(QLatin1Char(':'));
    settings.kind = kChannelIp;
    settings.tcp = tcp ? 1 : 0;
    settings.ipAddress = endpoint.left(colon);
    settings.ipPort = endpoint.mid(colon + 1).toInt();
}

void SetSerial(ChannelSettings& settings, const QString& path)
{
    settings.kind = kChannelDirect;
    settings.portNumber = PortNumberForPath(path);
    settings.byteSize = kDefaultByteSize;
}

template <class Target>
void Override(Target& target, const std::optional<int>& given)
{
    if (given)
        target = static_cast<Target>(*given);
}

}  // namespace

// A device path is put under a COM number for this run, as a port can be assigned by hand.
int PortNumberForPath(const QString& path)
{
    const int number = PortTable::Global().NumberFor(path);
    return number != 0 ? number : PortTable::Global().Register(path);
}

QString CheckConnectionOptions(const CliOptions& options)
{
    const int lines = int(!options.tcp.isEmpty()) + int(!options.udp.isEmpty()) + int(!options.serial.isEmpty())
        + int(!options.modem.isEmpty()) + int(!options.node.isEmpty()) + int(options.demo);
    if (lines == 0)
        return QStringLiteral("не задан канал связи: --tcp, --udp, --serial, --modem, --node или --demo");
    if (lines > 1)
        return QStringLiteral("канал связи задан больше одного раза");
    if (!options.modem.isEmpty() && options.phone.isEmpty())
        return QStringLiteral("--modem ждет номер прибора: --phone НОМЕР");
    return {};
}

ConnectionPlan PlanConnection(const CliOptions& options, const NodeRecord* node)
{
    ConnectionPlan plan;
    ChannelSettings& settings = plan.settings;
    if (node) {
        ApplyNodeToChannel(*node, settings);
        plan.target = TargetOfNode(*node);
    } else if (!options.tcp.isEmpty()) {
        SetEndpoint(settings, options.tcp, true);
    } else if (!options.udp.isEmpty()) {
        SetEndpoint(settings, options.udp, false);
    } else if (!options.serial.isEmpty()) {
        SetSerial(settings, options.serial);
    } else if (!options.modem.isEmpty()) {
        SetSerial(settings, options.modem);
        settings.kind = kChannelModem;
    }
    if (!node) {
        // The line's own defaults: the meter's function, address 0 (every meter answers it).
        plan.target = NodeTarget{0, 1};
    }
    Override(settings.baudRate, options.baud);
    Override(settings.parity, options.parity);
    Override(settings.stopBits, options.stopBits);
    Override(settings.byteSize, options.byteSize);
    Override(settings.framing, options.framing);
    Override(settings.answerTimeoutSec, options.timeoutSec);
    Override(settings.connectTimeoutSec, options.connectTimeoutSec);
    Override(settings.attempts, options.attempts);
    Override(plan.target.functionSet, options.functionSet);
    Override(plan.target.networkAddress, options.address);
    Override(settings.dialMode, options.dialMode);
    if (!options.phone.isEmpty())
        settings.phoneNumber = options.phone;
    if (!options.modemInit.isEmpty()) {
        settings.modemInitString = options.modemInit;
        settings.modemType = kModemTypeUser;
    }
    return plan;
}
