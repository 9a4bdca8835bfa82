#include "nodes/apply_node.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplyNode, ConnectionFieldsGoToTheChannelAndTheRestStays)
{
    NodeRecord node = NodeRecord::New(2, FreePortTable::AllFree());
    node.SetNetworkAddress(47);
    node.SetTransportProtocol(1);
    node.SetFunctionSet(0);
    node.SetRepeatTimeoutSec(11);
    node.SetRepeatCount(4);
    node.SetName(QStringLiteral("ЦТП 100%2"));
    node.SetSerialNumber(123456);
    node.SetIpProtocol(0);
    node.SetIpPort(4001);
    node.SetIpAddress(QStringLiteral("10.1.2.3"));
    node.SetComPort(6);
    node.SetBaudRate(19200);
    node.SetByteSize(7);
    node.SetParity(2);
    node.SetStopBits(2);
    node.SetReadIntervalOverrideFlag(1);
    node.SetReadIntervalOverrideMs(35);
    node.SetPhoneNumber(QStringLiteral("8,495W1234567"));

    ChannelSettings settings;
    settings.modemInitString = QStringLiteral("AT&F");
    settings.spareText = QStringLiteral("spare");
    settings.dialMode = 0;
    settings.modemConnectTimeoutSec = 60;
    settings.modemType = 2;
    settings.flagPlacement = 1;
    settings.usbDeviceIndex = 3;
    settings.modemConnected = 1;
    settings.sharedMemoryLinkNumber = 2;
    settings.answerLengthCheck = 0;
    ApplyNodeToChannel(node, settings);

    EXPECT_EQ(settings.kind, 2);
    EXPECT_EQ(settings.tcp, 0);
    EXPECT_EQ(settings.framing, 1);
    EXPECT_EQ(settings.ipAddress, QStringLiteral("10.1.2.3"));
    EXPECT_EQ(settings.phoneNumber, QStringLiteral("8,495W1234567"));
    EXPECT_EQ(settings.ipPort, 4001);
    EXPECT_EQ(settings.portNumber, 6);
    EXPECT_EQ(settings.baudRate, 19200);
    EXPECT_EQ(settings.readIntervalOverrideFlag, 1);
    EXPECT_EQ(settings.readIntervalOverrideMs, 35);
    EXPECT_EQ(settings.answerTimeoutSec, 11);
    EXPECT_EQ(settings.attempts, 4);
    EXPECT_EQ(settings.byteSize, 7);
    EXPECT_EQ(settings.parity, 2);
    EXPECT_EQ(settings.stopBits, 2);
    EXPECT_EQ(settings.sharedMemoryLinkNumber, 0);
    // Not the node's business.
    EXPECT_EQ(settings.modemInitString, QStringLiteral("AT&F"));
    EXPECT_EQ(settings.spareText, QStringLiteral("spare"));
    EXPECT_EQ(settings.dialMode, 0);
    EXPECT_EQ(settings.modemConnectTimeoutSec, 60);
    EXPECT_EQ(settings.modemType, 2);
    EXPECT_EQ(settings.flagPlacement, 1);
    EXPECT_EQ(settings.usbDeviceIndex, 3);
    EXPECT_EQ(settings.modemConnected, 1);
    EXPECT_EQ(settings.answerLengthCheck, 0);

    const NodeTarget target = TargetOfNode(node);
    EXPECT_EQ(target.networkAddress, 47);
    EXPECT_EQ(target.functionSet, 0);
    node.SetFunctionSet(5);  // any non-zero value means the meter's own function
    EXPECT_EQ(TargetOfNode(node).functionSet, 1);

    EXPECT_EQ(NodeStatusText(node), QStringLiteral("Узел учета - ЦТП 100%2; серийный N - 123456; сет. адрес - 47"));
}

}  // namespace
