#include "nodes/apply_node.h"

void ApplyNodeToChannel(const NodeRecord& node, ChannelSettings& settings)
{
    settings.kind = node.ConnectionType();
    settings.tcp = node.IpProtocol();
    settings.framing = node.TransportProtocol();
    settings.ipAddress = node.IpAddress();
    settings.phoneNumber = node.PhoneNumber();
    settings.ipPort = node.IpPort();
    settings.portNumber = node.ComPort();
    settings.baudRate = node.BaudRate();
    settings.readIntervalOverrideFlag = node.ReadIntervalOverrideFlag();
    settings.readIntervalOverrideMs = node.ReadIntervalOverrideMs();
    settings.answerTimeoutSec = node.RepeatTimeoutSec();
    settings.attempts = node.RepeatCount();
    settings.byteSize = node.ByteSize();
    settings.parity = node.Parity();
    settings.stopBits = node.StopBits();
    settings.sharedMemoryLinkNumber = 0;
}

NodeTarget TargetOfNode(const NodeRecord& node)
{
    // The record calls any non-zero value "Нестандартные"; the master knows only 0 and 1.
    return NodeTarget{node.NetworkAddress(), static_cast<std::uint8_t>(node.FunctionSet() != 0 ? 1 : 0)};
}

QString NodeStatusText(const NodeRecord& node, std::uint32_t meterSerial)
{
    const std::uint32_t serial = meterSerial != 0 ? meterSerial : std::uint32_t(node.SerialNumber());
    return QStringLiteral("Узел учета - %1; серийный N - %2; сет. адрес - %3")
        .arg(node.Name(), QString::number(serial), QString::number(node.NetworkAddress()));
}
