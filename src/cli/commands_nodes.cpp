#include "cli/commands_nodes.h"

#include "app/app_environment.h"
#include "app/port_table_settings.h"
#include "base/host_port.h"
#include "channel/channel_types.h"
#include "channel/free_ports.h"
#include "channel/port_table.h"
#include "cli/cli_context.h"
#include "cli/connection_setup.h"
#include "cli/json_output.h"
#include "cli/terminal_output.h"
#include "nodes/node_checks.h"
#include "nodes/node_input_rules.h"

#include <QJsonArray>

namespace {

struct NodeKindWord {
    const char* name;
    int kind;
};
constexpr NodeKindWord kKinds[] = {
    {"usb", kChannelUsb}, {"direct", kChannelDirect}, {"modem", kChannelModem}, {"ip", kChannelIp}};

QString KindName(int kind)
{
    for (const NodeKindWord& entry : kKinds) {
        if (entry.kind == kind)
            return QLatin1String(entry.name);
    }
    return QString::number(kind);
}

int KindNamed(const QString& name)
{
    for (const NodeKindWord& entry : kKinds) {
        if (name == QLatin1String(entry.name))
            return entry.kind;
    }
    return -1;
}

QJsonObject NodeJson(const NodeRecord& node)
{
    const bool serial = node.ConnectionType() == kChannelDirect || node.ConnectionType() == kChannelModem;
    const bool ip = node.ConnectionType() == kChannelIp;
    const auto when = [](bool used, const QJsonValue& value) { return used ? value : QJsonValue(QJsonValue::Null); };
    return {{QStringLiteral("name"), node.Name()},
            {QStringLiteral("address"), node.Address()},
            {QStringLiteral("note"), node.Note()},
            {QStringLiteral("kind"), KindName(node.ConnectionType())},
            {QStringLiteral("ip_address"), when(ip, node.IpAddress())},
            {QStringLiteral("ip_port"), when(ip, node.IpPort())},
            {QStringLiteral("com_port"), when(serial, node.ComPort())},
            {QStringLiteral("com_path"), when(serial, PortTable::Global().DevicePath(node.ComPort()))},
            {QStringLiteral("baud"), when(serial, node.BaudRate())},
            {QStringLiteral("byte_size"), when(serial, node.ByteSize())},
            {QStringLiteral("parity"), when(serial, node.Parity())},
            {QStringLiteral("stop_bits"), when(serial, node.StopBits())},
            {QStringLiteral("phone"), when(node.ConnectionType() == kChannelModem, node.PhoneNumber())},
            {QStringLiteral("network_address"), node.NetworkAddress()},
            {QStringLiteral("framing"), node.TransportProtocol()},
            {QStringLiteral("functions"), node.FunctionSet()},
            {QStringLiteral("timeout_sec"), node.RepeatTimeoutSec()},
            {QStringLiteral("attempts"), node.RepeatCount()},
            {QStringLiteral("serial_number"), qint64(std::uint32_t(node.SerialNumber()))}};
}

// "key: value" lines of the JSON form, for the text form.
QString NodeText(const NodeRecord& node)
{
    const QJsonObject object = NodeJson(node);
    QString text;
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it->isNull())
            continue;
        text += it.key() + QStringLiteral(": ") + (it->isString() ? it->toString() : QString::number(it->toInteger()))
            + QLatin1Char('\n');
    }
    return text;
}

// The options that edit a node, onto `node`; the refusal in words, or empty.
QString ApplyOptions(const CliOptions& options, NodeRecord& node, bool* portsChanged)
{
    if (!options.kind.isEmpty())
        node.SetConnectionType(KindNamed(options.kind));
    for (const QString* text :
         {options.rename ? &*options.rename : nullptr, options.location ? &*options.location : nullptr,
          options.note ? &*options.note : nullptr}) {
        if (text && text->size() > NodeRecord::kMaxTextLength)
            return QStringLiteral("текст длиннее %1 знаков: %2").arg(NodeRecord::kMaxTextLength).arg(*text);
    }
    if (options.rename)
        node.SetName(*options.rename);
    if (options.location)
        node.SetAddress(*options.location);
    if (options.note)
        node.SetNote(*options.note);
    if (!options.tcp.isEmpty()) {
        HostPort place;
        ParseHostPort(options.tcp, 1, place);  // its form was checked when the option was read
        const std::optional<QString> address = NodeInputRules::DottedQuad(place.host);
        if (!address)
            return QStringLiteral("IP адрес узла - четыре числа 0..255 через точку: %1").arg(options.tcp);
        node.SetIpAddress(*address);
        node.SetIpPort(place.port);
    }
    if (!options.serial.isEmpty()) {
        node.SetComPort(PortNumberForPath(options.serial));
        *portsChanged = true;
    }
    if (!options.phone.isEmpty()) {
        if (NodeInputRules::PhoneNumber(options.phone) != options.phone)
            return QStringLiteral("номер телефона - цифры, \",\" и \"W\", не больше %1 знаков")
                .arg(NodeInputRules::kPhoneLength);
        node.SetPhoneNumber(options.phone);
    }
    if (options.baud)
        node.SetBaudRate(*options.baud);
    if (options.parity)
        node.SetParity(*options.parity);
    if (options.stopBits)
        node.SetStopBits(*options.stopBits);
    if (options.byteSize)
        node.SetByteSize(*options.byteSize);
    if (options.address && !node.SetNetworkAddress(*options.address))
        return QStringLiteral("сетевой адрес - число 0..255");
    if (options.framing)
        node.SetTransportProtocol(*options.framing);
    if (options.functionSet)
        node.SetFunctionSet(*options.functionSet);
    if (options.timeoutSec)
        node.SetRepeatTimeoutSec(std::min(*options.timeoutSec, 0x100));
    if (options.attempts)
        node.SetRepeatCount(std::min(*options.attempts, 0x100));
    if (options.serialNumber)
        node.SetSerialNumber(std::int32_t(std::uint32_t(*options.serialNumber)));
    // Stored nodes are reached over TCP only.
    node.SetIpProtocol(NodeRecord::kIpProtocolTcp);
    return NodeChecks::RecordNumbersFailure(node);
}

int Save(CliContext& context, const NodeBase& base, bool portsChanged)
{
    UserMessage failure;
    if (!context.Environment().SaveNodeBase(base, &failure)) {
        context.Host().ShowMessage(failure);
        return kExitFile;
    }
    // The COM numbers of the base mean the devices of the stored port table.
    if (portsChanged && !SavePortTable(context.Environment().Settings(), PortTable::Global())) {
        PrintError(QStringLiteral("zt5ctl: таблица портов не записана в настройки\n"));
        return kExitFile;
    }
    return kExitOk;
}

int Edit(CliContext& context, NodeBase& base, const QString& verb, const QString& name)
{
    const int index = base.FindByName(name);
    const bool adding = verb == QLatin1String("add");
    if (adding == (index >= 0)) {
        PrintError(adding ? QStringLiteral("zt5ctl: узел \"%1\" уже есть в базе\n").arg(name)
                          : QStringLiteral("zt5ctl: узла \"%1\" нет в базе\n").arg(name));
        return adding ? kExitRefused : kExitUsage;
    }
    const CliOptions& options = context.Options();
    if (verb == QLatin1String("remove")) {
        base.Remove(index);
        return Save(context, base, false);
    }
    NodeEntry entry = adding ? NodeEntry{} : base.At(index);
    if (adding) {
        const int kind = !options.kind.isEmpty() ? KindNamed(options.kind)
            : !options.tcp.isEmpty()             ? int(kChannelIp)
            : !options.phone.isEmpty()           ? int(kChannelModem)
                                                 : int(kChannelDirect);
        entry.record = NodeRecord::New(kind, FreePortTable::AllFree());
        entry.record.SetName(name);
    }
    bool portsChanged = false;
    if (const QString refusal = ApplyOptions(options, entry.record, &portsChanged); !refusal.isEmpty()) {
        PrintError(QStringLiteral("zt5ctl: узел не записан: %1\n").arg(refusal));
        return kExitRefused;
    }
    if (adding)
        base.Append(entry);
    else
        base.Replace(index, entry);
    return Save(context, base, portsChanged);
}

}  // namespace

int RunNode(CliContext& context)
{
    const QStringList& words = context.Arguments();
    const QString verb = words.value(0);
    const bool list = verb == QLatin1String("list");
    static const QStringList kNamed{QStringLiteral("show"), QStringLiteral("add"), QStringLiteral("set"),
                                    QStringLiteral("remove")};
    if (!(list && words.size() == 1) && !(kNamed.contains(verb) && words.size() == 2))
        return UsageError(QStringLiteral("node ждет list, или show, add, set, remove и имя узла"));
    if (context.Options().Json() && verb != QLatin1String("show") && !list)
        return UsageError(QStringLiteral("node %1 не выводит --format json").arg(verb));
    NodeBase base;
    UserMessage failure;
    if (!context.Environment().LoadNodeBase(base, &failure)) {
        context.Host().ShowMessage(failure);
        return kExitFile;
    }
    const bool json = context.Options().Json();
    if (list) {
        QString text;
        for (const NodeEntry& entry : base.Entries())
            text += json ? JsonLine(NodeJson(entry.record))
                         : entry.record.Name() + QLatin1Char('\t') + KindName(entry.record.ConnectionType()) + u'\n';
        PrintOut(text);
        return kExitOk;
    }
    if (verb == QLatin1String("show")) {
        const int index = base.FindByName(words.at(1));
        if (index < 0) {
            PrintError(QStringLiteral("zt5ctl: узла \"%1\" нет в базе\n").arg(words.at(1)));
            return kExitUsage;
        }
        const NodeRecord& node = base.At(index).record;
        PrintOut(json ? JsonDocumentText(NodeJson(node)) : NodeText(node));
        return kExitOk;
    }
    return Edit(context, base, verb, words.at(1));
}
