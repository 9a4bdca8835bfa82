#include "channel/channel_types.h"
#include "channel/transmit_channel.h"
#include "protocol/exchange_log.h"

#include <gtest/gtest.h>

TEST(ExchangeLog, LineCarriesHeadTimeAndEveryByte)
{
    const std::uint8_t request[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x13, 0x04, 0x07};
    CTransmitChanel serial;
    serial.Settings().kind = kChannelDirect;
    serial.Settings().portNumber = 1;
    const QString head = serial.MonitorHead(true, 8);
    EXPECT_EQ(head, QString::fromUtf8("(0008) COM1 Out"));
    EXPECT_EQ(FormatExchangeLine(head, QTime(10, 12, 5, 42), request, 8),
              QString::fromUtf8("(0008) COM1 Out ->: 10 ч. :12 мин. :05 с. :042 мс==>>  01 03 00 00 00 13 04 07  "));
    EXPECT_EQ(FormatExchangeLine(QString::fromUtf8("(0000) USB In "), QTime(0, 0, 0, 0), request, 0),
              QString::fromUtf8("(0000) USB In  ->: 00 ч. :00 мин. :00 с. :000 мс==>>   "));
    const std::uint8_t high[] = {0xAB, 0xFF};
    EXPECT_TRUE(FormatExchangeLine(head, QTime(0, 59, 59, 999), high, 2)
                    .endsWith(QString::fromUtf8("59 мин. :59 с. :999 мс==>>  AB FF  ")));
}

// The channel names itself by the transport of its kind, whichever kind it was switched to last.
TEST(ExchangeLog, HeadsNameTheChannelOfEachKind)
{
    CTransmitChanel channel;
    ChannelSettings& settings = channel.Settings();
    settings.kind = kChannelModem;
    settings.portNumber = 12;
    EXPECT_EQ(channel.MonitorHead(false, 25), QString::fromUtf8("(0025) COM12 In "));
    settings.kind = kChannelUsb;
    EXPECT_EQ(channel.MonitorHead(true, 64), QString::fromUtf8("(0064) USB Out"));
    settings.kind = kChannelIp;
    settings.ipAddress = QString::fromUtf8("192.168.0.7");
    settings.ipPort = 502;
    EXPECT_EQ(channel.MonitorHead(true, 8), QString::fromUtf8("(0008) TCP 192.168.0.7:00502 Out"));
    settings.tcp = 0;
    EXPECT_EQ(channel.MonitorHead(false, 1234), QString::fromUtf8("(1234) UDP 192.168.0.7:00502 In "));
    settings.kind = kChannelSharedMemory;
    settings.sharedMemoryLinkNumber = 0;
    EXPECT_EQ(channel.MonitorHead(false, 8), QString::fromUtf8("(0008) MAP1 In "));
    settings.kind = 9;
    EXPECT_TRUE(channel.MonitorHead(true, 8).isEmpty());
    settings.kind = kChannelDirect;
    settings.portNumber = 3;
    EXPECT_EQ(channel.MonitorHead(true, 1), QString::fromUtf8("(0001) COM3 Out"));
}
