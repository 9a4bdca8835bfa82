// The request engine and the 0x48 retry loop end to end: CRovoRedod with its real channel, a scripted
// meter thread on a loopback TCP connection or on a pseudo-terminal, and a recording host.

#include "base/utf8_text.h"
#include "channel/port_table.h"
#include "protocol/rovo_redod.h"
#include "support/pty_pair.h"
#include "support/qt_printers.h"
#include "support/recording_host.h"
#include "support/scripted_meter.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr int kPortNumber = 28;  // the COM number the pty is put under

// The driver, its host and a meter, wired together; the meter starts on Connect.
class Rig {
public:
    explicit Rig(std::deque<MeterAct> script = {}) : meter(std::move(script))
    {
        FillMeterPattern(meter.Image(), 0x31);
        std::copy(meter.Image().Bytes(), meter.Image().Bytes() + MeterImage::kByteCount, expected.begin());
        driver.AttachHost(&host);
    }
    ~Rig()
    {
        driver.TransmitChanel().Disconnect();
        meter.Stop();
        if (pty)
            PortTable::Global().Assign(kPortNumber, QString());
    }

    bool ConnectTcp()
    {
        const int port = meter.ListenTcp();
        meter.Start();
        ChannelSettings& settings = driver.TransmitChanel().Settings();
        settings.kind = kChannelIp;
        settings.tcp = 1;
        settings.ipAddress = QStringLiteral("127.0.0.1");
        settings.ipPort = port;
        return port != 0 && Opened();
    }

    bool ConnectPty()
    {
        pty = std::make_unique<PtyPair>();
        if (!pty->IsOpen())
            return false;
        PortTable::Global().Assign(kPortNumber, pty->SlavePath());
        meter.ServeFd(pty->MasterFd());
        meter.Start();
        ChannelSettings& settings = driver.TransmitChanel().Settings();
        settings.kind = kChannelDirect;
        settings.portNumber = kPortNumber;
        settings.byteSize = 8;
        return Opened();
    }

    // Opens the channel; what the host saw of the opening is left out of the records.
    bool Opened()
    {
        const bool opened = driver.TransmitChanel().Connect();
        host.Clear();
        return opened;
    }

    // Reads `bytes` bytes from register `start` with the standard functions.
    bool Read(int start, int bytes, int attempts, int timeoutSec)
    {
        got.assign(MeterImage::kByteCount, 0);
        return driver.ModbusMaster().ReadRegisters(got.data(), got.data() + 2 * start, bytes, got.data() + 2 * start,
                                                   attempts, timeoutSec);
    }

    bool Read48(int start, int bytes, int attempts, int timeoutSec)
    {
        got.assign(MeterImage::kByteCount, 0);
        return driver.ModbusMaster().ReadWrite48(nullptr, nullptr, 0, got.data(), got.data() + 2 * start, bytes,
                                                 got.data() + 2 * start, attempts, timeoutSec);
    }

    bool GotImageBytes(int start, int bytes) const
    {
        return std::equal(got.begin() + 2 * start, got.begin() + 2 * start + bytes, expected.begin() + 2 * start);
    }

    // Box texts, and log lines without their CR LF and without the monitor lines.
    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const RecordedBox& box : host.Boxes())
            texts << box.text;
        return texts;
    }
    QStringList Messages() const
    {
        QStringList lines;
        for (const QString& line : host.LogLines()) {
            if (!line.contains(QStringLiteral("==>>")))
                lines << line.chopped(2);
        }
        return lines;
    }

    ScriptedMeter meter;
    RecordingHost host;
    CRovoRedod driver;
    std::unique_ptr<PtyPair> pty;
    std::vector<std::uint8_t> expected = std::vector<std::uint8_t>(MeterImage::kByteCount);
    std::vector<std::uint8_t> got;
};

}  // namespace

TEST(RequestEngine, SilentMeterIsRetriedAndReportedOnce)
{
    Rig rig({MeterAct::kSilent, MeterAct::kSilent, MeterAct::kSilent});
    ASSERT_TRUE(rig.ConnectTcp());
    EXPECT_FALSE(rig.Read(0, 38, 3, 1));

    const QList<MeterRequest> requests = rig.meter.Requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(requests[0].bytes, QByteArray::fromHex("0103000000130407"));
    EXPECT_EQ(requests[2].bytes, requests[0].bytes);  // the same bytes on every attempt
    EXPECT_EQ(rig.Messages(), (QStringList{Utf8("Повтор 1"), Utf8("Повтор 2")}));
    EXPECT_EQ(rig.host.ConnectionTexts(), (QStringList{Utf8("Повтор 1"), Utf8("Повтор 2")}));
    const QList<RecordedBox> boxes = rig.host.Boxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, Utf8("Прибор не отвечает на запросы. Выполнено 3 попытки!"));
    EXPECT_EQ(boxes[0].caption, Utf8("Ошибка"));
    EXPECT_EQ(boxes[0].style, MessageStyle::kIconWarning);
}

TEST(RequestEngine, BrokenAnswersAreRetriedAndToldApartFromSilence)
{
    {
        Rig rig({MeterAct::kBadCrc});
        ASSERT_TRUE(rig.ConnectTcp());
        ASSERT_TRUE(rig.Read(105, 40, 2, 1));
        EXPECT_TRUE(rig.GotImageBytes(105, 40));
        EXPECT_EQ(rig.Messages(), QStringList{Utf8("Не совпала контрольная сумма!")});
        EXPECT_TRUE(rig.host.Boxes().isEmpty());
    }
    {
        Rig rig({MeterAct::kBadCrc, MeterAct::kSilent});
        ASSERT_TRUE(rig.ConnectTcp());
        EXPECT_FALSE(rig.Read(0, 2, 2, 1));
        EXPECT_EQ(rig.BoxTexts(),
                  QStringList{Utf8("Ошибка выполнения при попытке обращения к прибору. Выполнено 2 попытки!")});
    }
    {
        Rig rig({MeterAct::kBadCrc, MeterAct::kBadCrc});
        ASSERT_TRUE(rig.ConnectTcp());
        EXPECT_FALSE(rig.Read(0, 2, 2, 1));
        EXPECT_EQ(
            rig.BoxTexts(),
            QStringList{Utf8("Несовпадение контрольной суммы ответа недопустимое число раз. Выполнено 2 попытки!")});
    }
}

TEST(RequestEngine, DamagedAnswerIsRetriedOnceTheLineFallsQuietNotAfterTheTimeOut)
{
    // A whole answer with a bad checksum, then a good one: the retry goes out as soon as the damaged
    // frame is over. With a time-out of 10 s, waiting it out would put the retry 10 s after the request.
    for (const bool pty : {false, true}) {
        Rig rig({MeterAct::kBadCrc, MeterAct::kAnswer});
        ASSERT_TRUE(pty ? rig.ConnectPty() : rig.ConnectTcp());
        ASSERT_TRUE(rig.Read(105, 40, 2, 10));
        EXPECT_TRUE(rig.GotImageBytes(105, 40));
        EXPECT_EQ(rig.Messages(), QStringList{Utf8("Не совпала контрольная сумма!")});
        const QList<MeterRequest> requests = rig.meter.Requests();
        ASSERT_EQ(requests.size(), 2);
        EXPECT_LT(requests[1].atMs - requests[0].atMs, 5000) << (pty ? "pty" : "tcp");
    }
}

TEST(RequestEngine, CombinedFunctionRetriesWithOneAttemptPerRequest)
{
    Rig rig({MeterAct::kSilent, MeterAct::kSilent, MeterAct::kSilent});
    ASSERT_TRUE(rig.ConnectTcp());
    EXPECT_FALSE(rig.Read48(0, 38, 3, 1));
    // Each silent attempt is logged; the user is told once, when all of them have failed.
    const QString once = Utf8("Прибор не отвечает на запросы. Выполнена 1 попытка!");
    EXPECT_EQ(rig.BoxTexts(), QStringList{Utf8("Прибор не отвечает на запросы. Выполнено 3 попытки!")});
    EXPECT_EQ(rig.Messages(), (QStringList{once, Utf8("Повтор 1"), once, Utf8("Повтор 2"), once, Utf8("Повтор 3")}));
    const QList<MeterRequest> requests = rig.meter.Requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(requests[0].bytes.mid(12, 2), QByteArray::fromHex("0000"));
    EXPECT_EQ(requests[2].bytes.mid(12, 2), QByteArray::fromHex("0002"));
}

TEST(RequestEngine, LateAnswerIsFollowedByOneSilentListeningWait)
{
    // The stale answer comes at once; the meter then stays quiet until the next request.
    Rig rig({MeterAct::kStale, MeterAct::kAnswer});
    ASSERT_TRUE(rig.ConnectTcp());
    ASSERT_TRUE(rig.Read48(2740, 100, 3, 1));
    EXPECT_TRUE(rig.GotImageBytes(2740, 100));

    const QList<MeterRequest> requests = rig.meter.Requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_GE(requests[1].atMs - requests[0].atMs, 10000);  // nothing sent while listening
    EXPECT_EQ(requests[1].bytes.mid(12, 2), QByteArray::fromHex("0001"));
    EXPECT_EQ(rig.Messages(), QStringList{Utf8("Получен ответ с номером, не совпадающим с номером запроса\r\n")});
    EXPECT_TRUE(rig.host.Boxes().isEmpty());
}

TEST(RequestEngine, CancelEndsAWaitAtOnceWithoutAFailureBox)
{
    Rig rig({MeterAct::kSilent, MeterAct::kSilent, MeterAct::kSilent});
    ASSERT_TRUE(rig.ConnectTcp());
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        rig.driver.RequestStop();
    });
    QElapsedTimer clock;
    clock.start();
    const bool read = rig.Read(0, 38, 3, 20);
    const qint64 elapsed = clock.elapsed();
    stopper.join();
    EXPECT_FALSE(read);
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 5000);
    EXPECT_EQ(rig.Messages(), QStringList{Utf8("Выполнение прервано пользователем!")});
    EXPECT_TRUE(rig.host.Boxes().isEmpty());
    EXPECT_EQ(rig.meter.Requests().size(), 1);
}

TEST(RequestEngine, ExchangeMonitorShowsEveryBlockOnAPseudoTerminal)
{
    Rig rig;
    ASSERT_TRUE(rig.ConnectPty());
    ASSERT_TRUE(rig.Read(0, 38, 1, 2));
    EXPECT_TRUE(rig.GotImageBytes(0, 38));

    const QStringList lines = rig.host.LogLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(Utf8("(0008) COM28 Out ->: "))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(Utf8(" мс==>>  01 03 00 00 00 13 04 07  \r\n"))) << lines[0].toStdString();
    // The answer may come in pieces; together the pieces are the 43 bytes.
    QString received;
    for (int i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].contains(Utf8(" COM28 In  ->: "))) << lines[i].toStdString();
        received += lines[i].section(Utf8("==>>  "), 1).chopped(3);
    }
    EXPECT_TRUE(received.startsWith(Utf8("01 03 26 ")));
    EXPECT_EQ(received.size(), 43 * 3);
    const QList<DriverHost::Lamp> lamps = rig.host.Lamps();
    ASSERT_EQ(lamps.size(), lines.size());
    EXPECT_EQ(lamps[0], DriverHost::kTransmitLamp);
    EXPECT_EQ(lamps[1], DriverHost::kReceiveLamp);
    EXPECT_EQ(rig.host.ConnectionTexts().last(), QString());  // cleared by the received block
}

TEST(RequestEngine, WithoutAHostNothingIsShownAndAnUnknownKindIsReported)
{
    Rig rig({MeterAct::kSilent});
    rig.driver.AttachHost(nullptr);
    ASSERT_TRUE(rig.ConnectTcp());
    EXPECT_TRUE(rig.Read(0, 38, 2, 1));
    EXPECT_TRUE(rig.GotImageBytes(0, 38));
    EXPECT_TRUE(rig.host.LogLines().isEmpty());
    EXPECT_TRUE(rig.host.ConnectionTexts().isEmpty());

    rig.driver.AttachHost(&rig.host);
    rig.driver.TransmitChanel().Settings().kind = 9;
    const std::uint8_t block[] = {0x01, 0x03};
    EXPECT_EQ(rig.driver.MyOnCharsTransmitted(block, 2), 0);
    const QString error = Utf8("Ошибка выполнения CRovoRedod::MyOnCharsTransmitted!");
    const QList<RecordedBox> boxes = rig.host.Boxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, error);
    EXPECT_EQ(boxes[0].caption, Utf8("Информация"));
    EXPECT_EQ(boxes[0].style, MessageStyle::kIconInformation);
    const QStringList lines = rig.host.LogLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], error + Utf8("\r\n"));
    EXPECT_TRUE(lines[1].startsWith(error + Utf8(" ->: "))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(Utf8("==>>  01 03  \r\n")));
}
