// CMapFile over a real shared block: participants exchange frames, and a raw view of the same block
// checks the layout another program relies on.

#include "channel/channel_types.h"
#include "channel/shared_memory_link.h"
#include "support/transport_test_helpers.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSharedMemory>

#include <thread>

namespace {

// A block name no other test run uses.
QString UniqueBlockName()
{
    static int counter = 0;
    return QStringLiteral("zt5-exchange-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

QByteArray PatternFrame(int size)
{
    QByteArray frame(size, '\0');
    for (int i = 0; i < size; ++i)
        frame[i] = static_cast<char>(i * 7 + 3);
    return frame;
}

const std::uint8_t* DataOf(const QByteArray& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

// A participant with its own recording owner.
struct Participant {
    RecordingOwner owner;
    CMapFile link;
    std::uint8_t buffer[kExchangeBufferSize] = {};
    int received = 0;

    explicit Participant(quintptr id)
    {
        owner.settings.mainWindowId = id;
        link.SetOwner(&owner);
    }
    bool Attach(const QString& name) { return link.Attach(name, owner.settings.mainWindowId); }
    int Read(int timeoutMs, int capacity = kExchangeBufferSize)
    {
        received = 0;
        return link.ReadData(buffer, capacity, received, timeoutMs);
    }
    QByteArray Taken() const { return QByteArray(reinterpret_cast<const char*>(buffer), received); }
};

// Two participants on a fresh block; their ids are easy to spot in a raw view.
class CMapFilePair : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(a.Attach(name));
        ASSERT_TRUE(b.Attach(name));
    }

    const QString name = UniqueBlockName();
    Participant a{0x11223344};
    Participant b{0x55667788};
};

}  // namespace

TEST_F(CMapFilePair, ParticipantsExchangeFramesButNeverReadTheirOwn)
{
    EXPECT_EQ(a.link.ParticipantIndex(), 0);
    EXPECT_EQ(b.link.ParticipantIndex(), 1);

    const QByteArray largest = PatternFrame(SharedExchangeBlock::kFrameCapacity);
    EXPECT_EQ(a.link.WriteData(DataOf(largest), static_cast<int>(largest.size())), kTransportOk);
    EXPECT_EQ(MonitorBlocks(a.owner, true), QList<QByteArray>{largest});
    EXPECT_EQ(a.Read(100), kTransportTimeout);
    EXPECT_EQ(b.Read(5000), kTransportOk);
    EXPECT_EQ(b.Taken(), largest);
    EXPECT_EQ(MonitorBlocks(b.owner, false), QList<QByteArray>{largest});
    EXPECT_EQ(b.Read(50), kTransportTimeout) << "a frame is taken once";

    // One byte more is refused and leaves the block as it was.
    const QByteArray tooLong = PatternFrame(SharedExchangeBlock::kFrameCapacity + 1);
    EXPECT_EQ(a.link.Write(DataOf(tooLong), static_cast<int>(tooLong.size())), kTransportFailed);
    ExpectReportedOnce(a.owner, QStringLiteral("Переполнение буфера в CMapFile::WriteData!"));
    EXPECT_EQ(b.Read(50), kTransportTimeout);

    const QByteArray answer = QByteArray::fromHex("0103020007f986");
    EXPECT_EQ(b.link.WriteData(DataOf(answer), static_cast<int>(answer.size())), kTransportOk);
    EXPECT_EQ(b.Read(50), kTransportTimeout);
    EXPECT_EQ(a.Read(5000), kTransportOk);
    EXPECT_EQ(a.Taken(), answer);

    // A reader whose buffer is too small still shows the frame, then refuses it.
    EXPECT_EQ(a.link.WriteData(DataOf(largest), static_cast<int>(largest.size())), kTransportOk);
    b.owner.Clear();
    EXPECT_EQ(b.Read(5000, 100), kTransportFailed);
    EXPECT_EQ(b.received, 0);
    EXPECT_EQ(MonitorBlocks(b.owner, false), QList<QByteArray>{largest});
    ExpectReportedOnce(b.owner, QStringLiteral("Переполнение буфера в CMapFile::ReadData!"));
}

TEST_F(CMapFilePair, BlockLayoutAndRegistrationSeenByAnotherProgram)
{
    QSharedMemory raw(name);
    ASSERT_TRUE(raw.attach());
    const auto* bytes = static_cast<const std::uint8_t*>(raw.constData());
    const QByteArray frame = QByteArray::fromHex("0a0b0c");
    ASSERT_EQ(b.link.WriteData(DataOf(frame), static_cast<int>(frame.size())), kTransportOk);
    raw.lock();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bytes), 3), frame);
    EXPECT_EQ(bytes[2058], 3);
    EXPECT_EQ(bytes[2059], 0);
    // Entry 0: a's id little-endian, unused byte, its flag raised by b's write.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bytes + 2060), 6),
              QByteArray::fromHex("44332211"
                                  "00"
                                  "01"));
    // Entry 1: b itself, flag down.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bytes + 2066), 6),
              QByteArray::fromHex("88776655"
                                  "00"
                                  "00"));
    EXPECT_EQ(bytes[2072 + 4], 0);
    raw.unlock();

    // Leaving frees the entry; the next newcomer takes the first free one, a returning id its own.
    b.link.Detach();
    EXPECT_EQ(b.link.ParticipantIndex(), -1);
    EXPECT_EQ(bytes[2066], 0);
    Participant c(0x99);
    ASSERT_TRUE(c.Attach(name));
    EXPECT_EQ(c.link.ParticipantIndex(), 1);
    ASSERT_TRUE(a.Attach(name));
    EXPECT_EQ(a.link.ParticipantIndex(), 0);

    Participant nobody(0);
    EXPECT_FALSE(nobody.Attach(name));
    EXPECT_EQ(nobody.owner.Boxes().size(), 1);
    EXPECT_FALSE(nobody.link.IsAttached());
}

TEST(CMapFile, WithoutABlockReadsTimeOutAndWritesFail)
{
    Participant lonely(0x42);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(lonely.Read(200), kTransportTimeout);
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_TRUE(lonely.owner.Boxes().isEmpty());

    const QByteArray frame = PatternFrame(4);
    EXPECT_EQ(lonely.link.WriteData(DataOf(frame), static_cast<int>(frame.size())), kTransportFailed);
    ExpectReportedOnce(lonely.owner, QStringLiteral("Ошибка выполнения CMapFile::WriteData!"));
    EXPECT_TRUE(MonitorBlocks(lonely.owner, true).isEmpty());
}

TEST(CMapFile, StopRequestFromAnotherThreadEndsTheWait)
{
    Participant reader(0x77);
    ASSERT_TRUE(reader.Attach(UniqueBlockName()));
    std::thread stopper = StopLater(reader.owner, 100);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(reader.Read(30000), kTransportStopped);
    EXPECT_LT(clock.elapsed(), 5000);
    stopper.join();
}
