// The master's block loops and the 0x48 retry loop, against an owner that answers from a register
// image the way a request engine with a meter behind it would.

#include "base/checksums.h"
#include "base/utf8_text.h"
#include "protocol/modbus_master.h"
#include "support/recording_owner.h"
#include "support/scripted_meter.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

// What the owner does with one SendQueryTo: a meter act, or the stop that ends the call with -1.
struct Act {
    MeterAct meter = MeterAct::kAnswer;
    bool stop = false;
};
const Act kAnswer{MeterAct::kAnswer};
const Act kSilent{MeterAct::kSilent};
const Act kStale{MeterAct::kStale};
const Act kStop{MeterAct::kSilent, true};

struct Call {
    int attempts = 0;
    int timeoutSec = 0;
    QByteArray request;  // empty: listen only
};

class MeterOwner : public RecordingOwner {
public:
    explicit MeterOwner(CModbusMaster& master) : m_master(master)
    {
        FillMeterPattern(image, 0x21);
        master.SetOwner(this);
        master.SetReportsFailures(true);
    }

    MeterImage image;
    ModbusSlave slave{image};
    std::deque<Act> script;  // one act per call, then answers
    std::vector<Call> calls;
    QByteArray lastRequest;  // what a listen-only call is answered for

    int SendQueryTo(int attempts, int timeoutSec) override
    {
        ModbusExchange& exchange = m_master.Exchange();
        const QByteArray request(reinterpret_cast<const char*>(exchange.request), exchange.requestLength);
        calls.push_back(Call{attempts, timeoutSec, request});
        if (!request.isEmpty())
            lastRequest = request;
        const Act act = script.empty() ? kAnswer : script.front();
        if (!script.empty())
            script.pop_front();
        if (act.stop)
            return -1;
        const int length = ScriptedAnswer(slave, lastRequest, act.meter, exchange.answer, kExchangeBufferSize);
        exchange.answerLength = static_cast<std::uint16_t>(length);
        return length > 0 ? 1 : 0;
    }

    std::vector<int> Counts(int offset) const
    {
        std::vector<int> counts;
        for (const Call& call : calls)
            counts.push_back(GetBigEndian16(reinterpret_cast<const std::uint8_t*>(call.request.constData()) + offset));
        return counts;
    }

private:
    CModbusMaster& m_master;
};

}  // namespace

TEST(ModbusMaster, StandardReadCopiesEveryBlockSwappedIntoTheDestination)
{
    CModbusMaster master;
    MeterOwner owner(master);
    std::vector<std::uint8_t> record(MeterImage::kByteCount, 0);
    ASSERT_TRUE(master.ReadRegisters(record.data(), record.data() + 2 * 105, 600, record.data() + 2 * 105, 5, 3));
    EXPECT_EQ(owner.Counts(4), (std::vector<int>{125, 125, 50}));
    EXPECT_EQ(owner.Counts(2), (std::vector<int>{105, 230, 355}));
    for (const Call& call : owner.calls) {
        EXPECT_EQ(call.attempts, 5);
        EXPECT_EQ(call.timeoutSec, 3);
    }
    EXPECT_TRUE(std::equal(record.begin() + 210, record.begin() + 810, owner.image.Bytes() + 210));
    EXPECT_EQ(record[209], 0);
    EXPECT_EQ(record[810], 0);

    // Odd start, odd count, into a separate destination: only the five bytes asked for arrive.
    std::vector<std::uint8_t> five(6, 0xEE);
    ASSERT_TRUE(master.ReadRegisters(record.data(), record.data() + 3, 5, five.data(), 1, 1));
    EXPECT_TRUE(std::equal(five.begin(), five.begin() + 5, owner.image.Bytes() + 3));
    EXPECT_EQ(five[5], 0xEE);
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST(ModbusMaster, WriteStopsAtTheFirstRejectedBlockAndReportsIt)
{
    CModbusMaster master;
    MeterOwner owner(master);
    std::vector<std::uint8_t> record(MeterImage::kByteCount);
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::uint8_t>(i ^ 0xC3);
    ASSERT_TRUE(master.WriteRegisters(record.data(), record.data(), 600, 5, 3));
    EXPECT_EQ(owner.Counts(4), (std::vector<int>{123, 123, 54}));
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 600, owner.image.Bytes()));

    // A write running past the image: the second block draws exception 2, the third is never sent.
    owner.calls.clear();
    std::vector<std::uint8_t> big(MeterImage::kByteCount + 400, 0x77);
    const int start = static_cast<int>(MeterImage::kByteCount) - 2 * 123;
    ASSERT_FALSE(master.WriteRegisters(big.data(), big.data() + start, 2 * 300, 5, 3));
    EXPECT_EQ(owner.calls.size(), 2u);
    EXPECT_EQ(owner.image.Bytes()[start], 0x77);  // the first block stays written
    const QList<RecordedBox> boxes = owner.Boxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, Utf8("Недопустимый адрес в запросе!"));
    EXPECT_EQ(boxes[0].caption, Utf8("Информация"));
    EXPECT_EQ(boxes[0].style, MessageStyle::kIconWarning);
    EXPECT_TRUE(owner.Log().contains(Utf8("Недопустимый адрес в запросе!")));
}

TEST(ModbusMaster, CombinedTransferAdvancesBothPartsWithOneSequenceNumberEach)
{
    CModbusMaster master;
    MeterOwner owner(master);
    std::vector<std::uint8_t> source(400);
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint8_t>(i * 3 + 1);
    std::vector<std::uint8_t> read(600, 0);
    const std::vector<std::uint8_t> before(owner.image.Bytes(), owner.image.Bytes() + MeterImage::kByteCount);

    // Read 300 registers from 2740, write 160 from register 0: (146, 142), (146, 18), (8, 0).
    std::vector<std::uint8_t> image(MeterImage::kByteCount);
    ASSERT_TRUE(master.ReadWrite48(source.data(), source.data() + 0, 320, image.data(), image.data() + 2 * 2740, 600,
                                   read.data(), 4, 2));
    EXPECT_EQ(owner.Counts(4), (std::vector<int>{146, 146, 8}));
    EXPECT_EQ(owner.Counts(8), (std::vector<int>{142, 18, 0}));
    EXPECT_EQ(owner.Counts(12), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(owner.Counts(2), (std::vector<int>{2740, 2886, 3032}));
    EXPECT_EQ(master.SequenceNumber(), 3);
    for (const Call& call : owner.calls)
        EXPECT_EQ(call.attempts, 1);
    EXPECT_TRUE(std::equal(read.begin(), read.end(), before.begin() + 2 * 2740));
    EXPECT_TRUE(std::equal(source.begin(), source.begin() + 320, owner.image.Bytes()));

    // The sequence number wraps from 65535 to 0.
    std::uint8_t two[2];
    while (master.SequenceNumber() != 65535)
        ASSERT_TRUE(master.ReadWrite48(nullptr, nullptr, 0, image.data(), image.data(), 2, two, 1, 1));
    owner.calls.clear();
    ASSERT_TRUE(master.ReadWrite48(nullptr, nullptr, 0, image.data(), image.data(), 2, two, 1, 1));
    ASSERT_TRUE(master.ReadWrite48(nullptr, nullptr, 0, image.data(), image.data(), 2, two, 1, 1));
    EXPECT_EQ(owner.Counts(12), (std::vector<int>{65535, 0}));
}

TEST(ModbusMaster, LateAnswerIsFollowedByOneListenOnlyWaitOfAtLeastTenSeconds)
{
    CModbusMaster master;
    MeterOwner owner(master);
    std::vector<std::uint8_t> image(MeterImage::kByteCount);
    std::vector<std::uint8_t> read(20, 0);
    owner.script = {kSilent, kStale, kAnswer};
    ASSERT_TRUE(master.ReadWrite48(nullptr, nullptr, 0, image.data(), image.data() + 40, 20, read.data(), 3, 2));
    ASSERT_EQ(owner.calls.size(), 3u);
    EXPECT_EQ(owner.calls[1].request.mid(12, 2), QByteArray::fromHex("0001"));  // a fresh request per attempt
    EXPECT_TRUE(owner.calls[2].request.isEmpty());
    EXPECT_EQ(owner.calls[2].attempts, 1);
    EXPECT_EQ(owner.calls[2].timeoutSec, 10);
    EXPECT_EQ(master.Exchange().requestLength, 16);  // restored after listening
    EXPECT_TRUE(std::equal(read.begin(), read.end(), owner.image.Bytes() + 40));
    EXPECT_EQ(owner.Log(),
              (QStringList{Utf8("Повтор 1"), Utf8("Получен ответ с номером, не совпадающим с номером запроса\r\n")}));

    // A long answer time-out is kept; a stale answer while listening moves on to the next attempt.
    owner.calls.clear();
    owner.script = {kStale, kStale, kAnswer};
    ASSERT_TRUE(master.ReadWrite48(nullptr, nullptr, 0, image.data(), image.data() + 40, 20, read.data(), 3, 15));
    ASSERT_EQ(owner.calls.size(), 3u);
    EXPECT_EQ(owner.calls[1].timeoutSec, 15);
    EXPECT_FALSE(owner.calls[2].request.isEmpty());
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST(ModbusMaster, CombinedTransferEndsAtOnceWhenStoppedAndReportsOnlyWithAHost)
{
    CModbusMaster master;
    MeterOwner owner(master);
    std::uint8_t read[4];
    owner.script = {kSilent, kStop};
    ASSERT_FALSE(master.ReadWrite48(nullptr, nullptr, 0, read, read, 4, read, 5, 1));
    EXPECT_EQ(owner.calls.size(), 2u);
    EXPECT_TRUE(owner.Boxes().isEmpty());

    // With nowhere to report to, a block that got no answer ends the transfer silently.
    master.SetReportsFailures(false);
    owner.script = {kSilent};
    ASSERT_FALSE(master.ReadWrite48(nullptr, nullptr, 0, read, read, 4, read, 1, 1));
    EXPECT_TRUE(owner.Boxes().isEmpty());
}
