#include "nodes/node_input_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace NodeInputRules;

TEST(NodeInputRules, WholeNumbersEndAtTheirPoint)
{
    EXPECT_EQ(NumberOf(QString()), 0);
    EXPECT_EQ(NumberOf(QStringLiteral("042")), 42);
    EXPECT_EQ(NumberOf(kByteNumber.Apply(QStringLiteral("6,5"))), 6);
    EXPECT_EQ(kIpPort.Apply(QStringLiteral("65a5361")), QStringLiteral("65536"));
}

TEST(NodeInputRules, DigitsAndPhoneKeepOnlyTheirCharactersUpToTheirLength)
{
    EXPECT_EQ(Digits(QStringLiteral("65a5361"), kIpPortDigits), QStringLiteral("65536"));
    EXPECT_EQ(PhoneNumber(QStringLiteral("8-495 123,W45wФ")), QStringLiteral("8495123,W45w"));
    EXPECT_EQ(PhoneNumber(QString(70, u'7')).size(), kPhoneLength);
}

TEST(NodeInputRules, DottedQuadWantsFourPartsOfAByteEach)
{
    EXPECT_EQ(DottedQuad(QStringLiteral("192.168.001.7")), QStringLiteral("192.168.1.7"));
    EXPECT_EQ(DottedQuad(QStringLiteral(" 10.0.0.1 ")), QStringLiteral("10.0.0.1"));
    for (const char* bad : {"192.168.1", "192.168.1.", "1.2.3.256", "1.2.3.4.5", "", "a.b.c.d", "1..2.3", "1.2.3.-4"})
        EXPECT_FALSE(DottedQuad(QString::fromLatin1(bad)).has_value()) << bad;
}

}  // namespace
