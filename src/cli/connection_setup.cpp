#include "cli/connection_setup.h"

#include "base/host_port.h"
#include "channel/modem_step.h"
#include "channel/port_table.h"

namespace {

constexpr int kDefaultByteSize = 8;

void SetEndpoint(ChannelSettings& settings, const QString& endpoint, bool tcp)
{
    HostPort place;
    ParseHostPort(endpoint, 1, place);  // its form was checked when the option was read
    settings.kind = kChannelIp;
    settings.tcp = tcp ? 1 : 0;
    settings.ipAddress = place.host;
    settings.ipPort = place.port;
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

QStringList ChannelOptionsGiven(const CliOptions& options)
{
    QStringList given;
    const std::pair<bool, const char*> kinds[] = {
        {!options.tcp.isEmpty(), "--tcp"},       {!options.udp.isEmpty(), "--udp"},
        {!options.serial.isEmpty(), "--serial"}, {!options.modem.isEmpty(), "--modem"},
        {!options.node.isEmpty(), "--node"},     {options.demo, "--demo"},
    };
    for (const auto& [set, name] : kinds) {
        if (set)
            given << QLatin1String(name);
    }
    return given;
}

QString ChannelConflict(const QStringList& given)
{
    if (given.size() < 2)
        return {};
    return QStringLiteral("%1 и %2 вместе не задаются: канал связи - один из них").arg(given.at(0), given.at(1));
}

QString CheckConnectionOptions(const CliOptions& options)
{
    const QStringList given = ChannelOptionsGiven(options);
    if (given.isEmpty())
        return QStringLiteral("не задан канал связи: --tcp, --udp, --serial, --modem, --node или --demo");
    if (const QString conflict = ChannelConflict(given); !conflict.isEmpty())
        return conflict;
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

QString ConnectionPlanText(const ConnectionPlan& plan)
{
    const ChannelSettings& settings = plan.settings;
    QString line;
    if (settings.kind == kChannelIp)
        line = QStringLiteral("%1 %2").arg(settings.tcp != 0 ? QStringLiteral("TCP") : QStringLiteral("UDP"),
                                           HostPortText(HostPort{settings.ipAddress, settings.ipPort}));
    else if (settings.kind == kChannelModem)
        line = QStringLiteral("модем COM%1, номер %2").arg(settings.portNumber).arg(settings.phoneNumber);
    else if (settings.kind == kChannelDirect)
        line = QStringLiteral("COM%1, %2 бит/с").arg(settings.portNumber).arg(settings.baudRate);
    else
        line = QStringLiteral("вид канала %1").arg(settings.kind);
    return QStringLiteral("%1, адрес %2, тайм-аут %3 с, повторов %4")
        .arg(line)
        .arg(plan.target.networkAddress)
        .arg(settings.answerTimeoutSec)
        .arg(settings.attempts);
}
