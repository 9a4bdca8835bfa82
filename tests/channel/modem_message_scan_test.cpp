#include "channel/modem_message_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* Scan(const std::string& bytes)
{
    return FindModemMessage(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

}  // namespace

TEST(ModemMessageScan, MessagesAfterCrLf)
{
    EXPECT_STREQ(Scan("\r\nNO CARRIER\r\n"), "Нет несущей");
    EXPECT_STREQ(Scan("\x01\x03\r\nNO DIALTONE"), "Нет гудка в линии");
    EXPECT_STREQ(Scan("\r\n\r\nBUSY"), "Линия занята");
    // The first message in the bytes wins.
    EXPECT_STREQ(Scan("\r\nBUSY\r\nNO CARRIER\r\n"), "Линия занята");

    // Without the CR LF in front, or cut short, it is no message.
    EXPECT_EQ(Scan("NO CARRIER\r\n"), nullptr);
    EXPECT_EQ(Scan("\nNO CARRIER"), nullptr);
    EXPECT_EQ(Scan("\r\nNO CARRIE"), nullptr);
    EXPECT_EQ(Scan("\r\nOK\r\n"), nullptr);
    EXPECT_EQ(Scan(""), nullptr);
}
