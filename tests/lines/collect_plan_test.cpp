// Which meters a collector run reads and how they share lines: a serial port (direct or through its
// modem) or a gateway's address and port is one line; USB nodes are never read.

#include "channel/channel_types.h"
#include "channel/port_table.h"
#include "lines/collect_plan.h"

#include <gtest/gtest.h>

namespace {

NodeEntry Node(int kind, const QString& name, const QString& ip = {}, int port = 0, int com = 0)
{
    NodeEntry entry;
    entry.record = NodeRecord::New(kind, FreePortTable::AllFree());
    entry.record.SetName(name);
    entry.record.SetIpAddress(ip);
    entry.record.SetIpPort(port);
    entry.record.SetIpProtocol(NodeRecord::kIpProtocolTcp);
    if (com != 0)
        entry.record.SetComPort(com);
    return entry;
}

QStringList Names(const CollectLine& line)
{
    QStringList names;
    for (const CollectMeter& meter : line.meters)
        names << meter.name;
    return names;
}

TEST(CollectPlan, LinesAreSharedPortsAndGatewaysInBaseOrder)
{
    PortTable::Global().Assign(30, QStringLiteral("/dev/ttyTEST30"));
    NodeBase base;
    base.Append(Node(kChannelIp, QStringLiteral("А1"), QStringLiteral("10.0.0.1"), 5001));
    base.Append(Node(kChannelDirect, QStringLiteral("Порт"), {}, 0, 30));
    base.Append(Node(kChannelUsb, QStringLiteral("USB")));
    base.Append(Node(kChannelIp, QStringLiteral("А2"), QStringLiteral("10.0.0.1"), 5001));
    base.Append(Node(kChannelModem, QStringLiteral("Модем на том же порту"), {}, 0, 30));
    base.Append(Node(kChannelIp, QStringLiteral("Другой порт шлюза"), QStringLiteral("10.0.0.1"), 5002));
    NodeEntry udp = Node(kChannelIp, QStringLiteral("UDP"), QStringLiteral("10.0.0.1"), 5001);
    udp.record.SetIpProtocol(NodeRecord::kIpProtocolUdp);
    base.Append(udp);

    std::vector<CollectLine> lines;
    QString error;
    ASSERT_TRUE(PlanCollect(base, {}, &lines, &error)) << error.toStdString();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].name, QStringLiteral("10.0.0.1:5001"));
    EXPECT_EQ(Names(lines[0]), QStringList({QStringLiteral("А1"), QStringLiteral("А2")}));
    EXPECT_EQ(lines[1].name, QStringLiteral("COM30 (/dev/ttyTEST30)"));
    EXPECT_EQ(Names(lines[1]), QStringList({QStringLiteral("Порт"), QStringLiteral("Модем на том же порту")}));
    EXPECT_EQ(Names(lines[2]), QStringList({QStringLiteral("Другой порт шлюза")}));
    EXPECT_EQ(lines[3].name, QStringLiteral("udp 10.0.0.1:5001"));
    // Each meter keeps its node's own attempts and time-out.
    EXPECT_EQ(lines[0].meters[0].settings.attempts, base.At(0).record.RepeatCount());
    EXPECT_EQ(lines[0].meters[0].settings.answerTimeoutSec, base.At(0).record.RepeatTimeoutSec());

    CollectChoice modems;
    modems.kind = CollectKindFromName(QStringLiteral("modem"));
    ASSERT_TRUE(PlanCollect(base, modems, &lines, &error));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Names(lines[0]), QStringList({QStringLiteral("Модем на том же порту")}));

    CollectChoice named;
    named.names = {QStringLiteral("А2"), QStringLiteral("Порт"), QStringLiteral("а2")};
    ASSERT_TRUE(PlanCollect(base, named, &lines, &error));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Names(lines[0]), QStringList({QStringLiteral("А2")}));  // named twice, read once

    named.names = {QStringLiteral("USB")};
    EXPECT_FALSE(PlanCollect(base, named, &lines, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("USB"))) << error.toStdString();
    named.names = {QStringLiteral("Нет такого")};
    EXPECT_FALSE(PlanCollect(base, named, &lines, &error));
    EXPECT_EQ(error, QStringLiteral("Узел учета \"Нет такого\" не найден!"));
    EXPECT_FALSE(CollectKindFromName(QStringLiteral("usb")).has_value());
    PortTable::Global().Assign(30, QString());
}

}  // namespace
