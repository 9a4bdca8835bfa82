#include "sim/meter_session.h"
#include "sim/meter_simulator.h"

#include "base/checksums.h"
#include "channel/channel_types.h"
#include "support/crc_frames.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

QByteArray Rtu(std::initializer_list<std::uint8_t> unit)
{
    return ByteArrayWithModbusCrc(
        QByteArray(reinterpret_cast<const char*>(std::data(unit)), static_cast<int>(unit.size())));
}

struct Fixture {
    explicit Fixture(int framing, const QString& fault = {}, bool closeAllowed = false, int baudDelay = 0)
    {
        options.address = 1;
        if (!fault.isEmpty()) {
            EXPECT_TRUE(options.faults.AddRule(fault).isEmpty());
        }
        meter = std::make_unique<MeterSimulator>(options);
        SessionSettings settings;
        settings.framing = framing;
        settings.closeAllowed = closeAllowed;
        settings.baudDelay = baudDelay;
        session = std::make_unique<MeterSession>(meter->Slave(), meter->Faults(), settings);
    }
    std::vector<SimAction> Send(const QByteArray& wire)
    {
        session->Feed(reinterpret_cast<const std::uint8_t*>(wire.constData()), static_cast<int>(wire.size()));
        return session->TakeActions();
    }
    SimOptions options;
    std::unique_ptr<MeterSimulator> meter;
    std::unique_ptr<MeterSession> session;
};

const QByteArray kReadTypeCodeRtu = Rtu({1, 0x03, 0x00, 0x00, 0x00, 0x01});

}  // namespace

TEST(MeterSession, FindsRequestsInEveryFraming)
{
    {
        Fixture rtu(kFramingRtu);
        // A request split over two reads, followed at once by a second one.
        EXPECT_TRUE(rtu.Send(kReadTypeCodeRtu.left(3)).empty());
        auto actions = rtu.Send(kReadTypeCodeRtu.mid(3) + kReadTypeCodeRtu);
        ASSERT_EQ(actions.size(), 2u);
        EXPECT_EQ(actions[0].bytes, Rtu({1, 0x03, 2, 0x17, 0x02}));
        // A bad CRC is met with silence, like a meter.
        QByteArray broken = kReadTypeCodeRtu;
        broken[7] = static_cast<char>(broken[7] ^ 1);
        EXPECT_TRUE(rtu.Send(broken).empty());
        // An unknown function is answered once the line goes quiet.
        EXPECT_TRUE(rtu.Send(Rtu({1, 0x2B, 0x0E, 0x01})).empty());
        rtu.session->LineQuiet();
        EXPECT_EQ(rtu.session->TakeActions().at(0).bytes, Rtu({1, 0xAB, 1}));
    }
    {
        Fixture ascii(kFramingAscii);
        const auto actions = ascii.Send("noise:010300000001FB\r\n");
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_EQ(actions[0].bytes, QByteArray(":0103021702E1\r\n"));
    }
    {
        Fixture stuffed(kFramingPpp);
        // 01 03 00 00 00 01 84 0A, with the low bytes escaped.
        const QByteArray request = QByteArray::fromHex("7e7d217d237d207d207d207d21840a7f");
        const auto actions = stuffed.Send(request);
        ASSERT_EQ(actions.size(), 1u);
        // 01 03 02 17 02 and the CRC 36 75: every byte below 0x20 goes out escaped.
        EXPECT_EQ(actions[0].bytes, QByteArray::fromHex("7e7d217d237d227d377d2236757f"));
    }
    {
        Fixture mbap(kFramingModbusTcp);
        const auto actions = mbap.Send(QByteArray::fromHex("12340000000601030000 0001"));
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_EQ(actions[0].bytes, QByteArray::fromHex("123400000005010302 1702"));
    }
}

TEST(MeterSession, FaultsStrikeAsPlannedAndReplayForASeed)
{
    {
        Fixture drop(kFramingRtu, QStringLiteral("drop=2x"));
        EXPECT_TRUE(drop.Send(kReadTypeCodeRtu).empty());
        EXPECT_TRUE(drop.Send(kReadTypeCodeRtu).empty());
        EXPECT_EQ(drop.Send(kReadTypeCodeRtu).size(), 1u);
    }
    {
        Fixture corrupt(kFramingAscii, QStringLiteral("corrupt=1x"));
        const QByteArray bad = corrupt.Send(":010300000001FB\r\n").at(0).bytes;
        EXPECT_NE(bad, QByteArray(":0103021702E1\r\n"));
        EXPECT_TRUE(bad.startsWith(':') && bad.endsWith("\r\n"));
    }
    {
        Fixture echo(kFramingRtu, QStringLiteral("echo=1x"));
        EXPECT_EQ(echo.Send(kReadTypeCodeRtu).at(0).bytes, kReadTypeCodeRtu + Rtu({1, 0x03, 2, 0x17, 0x02}));
    }
    {
        Fixture delay(kFramingRtu, QStringLiteral("delay=1x"));
        EXPECT_EQ(delay.Send(kReadTypeCodeRtu).at(0).delay, std::chrono::milliseconds(3500));
    }
    {
        // The late fault sends the answer with the previous sequence number ahead of the true one.
        Fixture late(kFramingRtu, QStringLiteral("late=1x"));
        const auto actions = late.Send(Rtu({1, 0x48, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0x00, 0x10}));
        ASSERT_EQ(actions.size(), 2u);
        EXPECT_EQ(actions[0].bytes, Rtu({1, 0x48, 0, 2, 0x00, 0x0F, 0x17, 0x02}));
        EXPECT_EQ(actions[1].bytes, Rtu({1, 0x48, 0, 2, 0x00, 0x10, 0x17, 0x02}));
        EXPECT_GT(actions[1].delay.count(), 0);
    }
    {
        Fixture close(kFramingModbusTcp, QStringLiteral("close=1x"), true);
        EXPECT_EQ(close.Send(QByteArray::fromHex("000100000006010300000001")).at(0).type, SimAction::Close);
    }
    // Rates: the same seed gives the same answers dropped, another seed others.
    auto pattern = [](std::uint32_t seed) {
        Fixture f(kFramingRtu, QStringLiteral("drop=30%"));
        f.meter->Faults().Reseed(seed);
        QString marks;
        for (int i = 0; i < 64; ++i)
            marks += f.Send(kReadTypeCodeRtu).empty() ? QLatin1Char('x') : QLatin1Char('.');
        return marks;
    };
    const QString first = pattern(5);
    EXPECT_EQ(first, pattern(5));
    EXPECT_NE(first, pattern(6));
    EXPECT_GT(first.count(QLatin1Char('x')), 5);
    EXPECT_LT(first.count(QLatin1Char('x')), 40);
}

TEST(MeterSession, EachTransmissionMeetsItsFaultAfreshWhateverItAsks)
{
    // The same request again and again, as a master retries it: one answer in ten damaged. Whether an
    // answer is damaged must not follow from the request or from the answer before it.
    const QByteArray clean = Rtu({1, 0x03, 2, 0x17, 0x02});
    const auto runs = [&](std::uint32_t seed) {
        Fixture f(kFramingRtu, QStringLiteral("corrupt=10%"));
        f.meter->Faults().Reseed(seed);
        QString marks;
        for (int i = 0; i < 20000; ++i)
            marks += f.Send(kReadTypeCodeRtu).at(0).bytes == clean ? QLatin1Char('.') : QLatin1Char('x');
        return marks;
    };
    const QString marks = runs(11);
    EXPECT_EQ(marks, runs(11)) << "the same seed replays the same faults";
    const qsizetype struck = marks.count(QLatin1Char('x'));
    // 2000 expected, standard deviation about 42.
    EXPECT_GT(struck, 1800);
    EXPECT_LT(struck, 2200);
    // After a damaged answer the next is damaged one time in ten as well (about 200 of 2000, sd 13).
    const qsizetype twice = marks.count(QStringLiteral("xx"));
    qsizetype pairs = 0;
    for (qsizetype i = 1; i < marks.size(); ++i)
        pairs += marks[i - 1] == QLatin1Char('x') && marks[i] == QLatin1Char('x') ? 1 : 0;
    EXPECT_GT(pairs, 140);
    EXPECT_LT(pairs, 260);
    EXPECT_LE(twice, pairs);
    // Five in a row: about 20000 * 0.9 * 1e-5 = 0.2 expected; eight would be a chance of 2e-4.
    EXPECT_FALSE(marks.contains(QStringLiteral("xxxxxxxx"))) << "a run far longer than the rate allows";
}

TEST(MeterSession, HoldsEachAnswerForTheLineTimeOfItsExchange)
{
    using std::chrono::nanoseconds;
    const QByteArray read125 = Rtu({1, 0x03, 0x00, 0x00, 0x00, 125});
    {
        // 8 + 255 bytes and the 3.5-character gap at 11 bits a character: 5863 bits.
        Fixture slow(kFramingRtu, {}, false, 9600);
        const auto actions = slow.Send(read125);
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_EQ(actions[0].bytes.size(), 255);
        EXPECT_EQ(actions[0].delay, nanoseconds(305'364'583));
        Fixture fast(kFramingRtu, {}, false, 115200);
        EXPECT_EQ(fast.Send(read125).at(0).delay, nanoseconds(25'447'048));
    }
    {
        // ASCII frames end with their CR LF: 17 + 15 characters and no gap.
        Fixture ascii(kFramingAscii, {}, false, 9600);
        EXPECT_EQ(ascii.Send(":010300000001FB\r\n").at(0).delay, nanoseconds(36'666'666));
    }
    {
        // An echoing line carries the request once: 8 + 7 bytes and the gap, as without the echo.
        Fixture echo(kFramingRtu, QStringLiteral("echo=1x"), false, 9600);
        EXPECT_EQ(echo.Send(kReadTypeCodeRtu).at(0).delay, nanoseconds(21'197'916));
        Fixture instant(kFramingRtu);
        EXPECT_EQ(instant.Send(kReadTypeCodeRtu).at(0).delay, nanoseconds(0));
    }
}

TEST(MeterSession, NoiseInFrontOfARequestIsSkippedAndAForeignHeaderEndsTheConversation)
{
    {
        // A frame with a broken CRC in the same burst as a good request: only the request is
        // answered, at once.
        Fixture rtu(kFramingRtu);
        QByteArray broken = kReadTypeCodeRtu;
        broken[7] = static_cast<char>(broken[7] ^ 1);
        auto actions = rtu.Send(broken + kReadTypeCodeRtu);
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_EQ(actions[0].bytes, Rtu({1, 0x03, 2, 0x17, 0x02}));
        // Noise of no known length in front of it: a whole request behind it shows it was noise.
        actions = rtu.Send(QByteArray::fromHex("ff0a77") + kReadTypeCodeRtu);
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_EQ(actions[0].bytes, Rtu({1, 0x03, 2, 0x17, 0x02}));
        // A header promising a write longer than the meter takes is noise too.
        EXPECT_EQ(rtu.Send(QByteArray::fromHex("01480000000000000000ffff") + kReadTypeCodeRtu).size(), 1u);
        EXPECT_FALSE(rtu.session->HasPartialFrame());
    }
    {
        Fixture mbap(kFramingModbusTcp, {}, true);
        // The largest request the meter takes is let through (and refused by the slave, not the framing).
        QByteArray largest = QByteArray::fromHex("00010000012a") + QByteArray::fromHex("0148000000004000008e011c0001");
        largest.append(QByteArray(284, '\0'));
        ASSERT_EQ(mbap.Send(largest).size(), 1u);
        // One byte more, and the connection is closed; what follows is not looked at.
        const auto actions = mbap.Send(QByteArray::fromHex("00020000012b01")
                                       + QByteArray::fromHex("000300000006010300000001"));
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_EQ(actions[0].type, SimAction::Close);
        EXPECT_TRUE(mbap.session->Closing());
        EXPECT_TRUE(mbap.Send(QByteArray::fromHex("000400000006010300000001")).empty());
    }
    {
        // Where the line cannot be dropped, the search for a header goes on byte by byte.
        Fixture mbap(kFramingModbusTcp);
        const auto actions = mbap.Send(QByteArray::fromHex("0a0d0005")
                                       + QByteArray::fromHex("000300000006010300000001"));
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_EQ(actions[0].bytes, QByteArray::fromHex("000300000005010302 1702"));
    }
}
