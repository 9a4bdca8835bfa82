// The link to the reference stand over a pseudo-terminal: the exact bytes of its commands, the answers
// it takes and refuses, its monitor lines and the simulated stand of the shared-memory case.

#include "channel/port_table.h"
#include "protocol/rkm8.h"
#include "sim/reference_stand.h"
#include "sim/reference_stand_line.h"
#include "support/pty_pair.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

constexpr int kRkm8StandPort = 29;

// A stand played byte for byte on the master side of a pty: every five bytes are one command, each
// answered with `answer`.
class PlayedStand {
public:
    explicit PlayedStand(QByteArray answer) : m_answer(std::move(answer))
    {
        PortTable::Global().Assign(kRkm8StandPort, m_line.SlavePath());
        m_thread = std::thread([this] {
            while (!m_stop) {
                const QByteArray command = m_line.ReadMaster(5, 100);
                if (command.size() < 5)
                    continue;
                m_commands.fetch_add(1);
                {
                    std::lock_guard<std::mutex> lock(m_lock);
                    m_received += command;
                }
                m_line.WriteMaster(m_answer);
            }
        });
    }
    ~PlayedStand()
    {
        m_stop = true;
        m_thread.join();
        PortTable::Global().Assign(kRkm8StandPort, QString());
    }
    QByteArray Received() const
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_received;
    }
    int Commands() const { return m_commands.load(); }

private:
    PtyPair m_line;
    QByteArray m_answer;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_commands{0};
    mutable std::mutex m_lock;
    QByteArray m_received;
    std::thread m_thread;
};

struct StandLink {
    StandLink()
    {
        stand.AttachHost(&host);
        stand.PrepareChannel(kRkm8StandPort, false);
    }
    ~StandLink() { stand.TransmitChanel().Disconnect(); }

    QStringList MonitorLines() const
    {
        QStringList lines;
        for (const QString& line : host.LogLines()) {
            if (line.contains(QStringLiteral("мс==>>")))
                lines << line;
        }
        return lines;
    }

    RecordingHost host;
    CRkm8 stand;
};

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(static_cast<char>(value));
    return bytes;
}

}  // namespace

TEST(Rkm8, ResistanceAndCurrentCommandsAreTheExactBytes)
{
    PlayedStand played("Ok");
    StandLink link;
    ASSERT_TRUE(link.stand.TransmitChanel().Connect());

    ASSERT_TRUE(link.stand.SetResistance(95.1));
    EXPECT_EQ(played.Received(), Bytes({0x57, 0x64, 0x02, 0x0D, 0x0A}));

    ASSERT_TRUE(link.stand.SetCurrent(20.0));
    EXPECT_EQ(played.Received().mid(5), Bytes({0x57, 0x60, 0x07, 0x0D, 0x0A, 0x57, 0x61, 0x07, 0x0D, 0x0A,  //
                                               0x57, 0x62, 0x07, 0x0D, 0x0A, 0x57, 0x63, 0x07, 0x0D, 0x0A}));
    const QStringList operations = link.host.OperationTexts();
    EXPECT_TRUE(operations.contains(QStringLiteral("Установка меры R в значение 95.100 Ом!...")));
    EXPECT_TRUE(operations.contains(QStringLiteral("Установка меры I3 в значение 20.000 мА!...")));
    EXPECT_TRUE(link.host.DetailTexts().contains(QStringLiteral("Установка парам. меры I")));

    // The monitor heads carry the stand's name right before the count, and the line's bytes.
    const QStringList monitor = link.MonitorLines();
    ASSERT_FALSE(monitor.isEmpty());
    EXPECT_TRUE(monitor.first().startsWith(QStringLiteral("РКМ8(0005) COM%1 Out ->: ").arg(kRkm8StandPort)))
        << monitor.first().toStdString();
    EXPECT_TRUE(monitor.first().contains(QStringLiteral("57 64 02 0D 0A")));
    EXPECT_TRUE(monitor.filter(QStringLiteral("РКМ8(0002) COM%1 In  ->: ").arg(kRkm8StandPort)).size() >= 5);
    EXPECT_TRUE(link.host.Boxes().isEmpty());
}

TEST(Rkm8, ValuesOutsideTheTablesAreRefusedBeforeAnythingIsSent)
{
    PlayedStand played("Ok");
    StandLink link;
    ASSERT_TRUE(link.stand.TransmitChanel().Connect());

    EXPECT_FALSE(link.stand.SetResistance(100.0));
    EXPECT_FALSE(link.stand.SetCurrent(3.0));
    ASSERT_EQ(link.host.Boxes().size(), 2);
    EXPECT_EQ(link.host.Boxes()[0].text,
              QStringLiteral("Выбрано недопустимое значение сопротивления при установке меры R (100.000 Ом)!"));
    EXPECT_EQ(link.host.Boxes()[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(link.host.Boxes()[0].style & MessageStyle::kIconMask, MessageStyle::kIconError);
    EXPECT_EQ(link.host.Boxes()[1].text,
              QStringLiteral("Выбрано недопустимое значение тока при установке меры I (3.000 мА)!"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(played.Commands(), 0);
}

TEST(Rkm8, AnEchoingStandIsAccepted)
{
    ReferenceStand referenceStand(true);
    ReferenceStandLine line(referenceStand);
    QString error;
    ASSERT_TRUE(line.Start(QStringLiteral("pty"), &error)) << error.toStdString();
    PortTable::Global().Assign(kRkm8StandPort, line.Path());
    StandLink link;

    EXPECT_TRUE(link.stand.Connect());
    EXPECT_TRUE(link.stand.SetCurrent(20.0));
    EXPECT_EQ(referenceStand.Measures(), (QStringList{"R=51.000", "I0=20.000", "I1=20.000", "I2=20.000", "I3=20.000"}));
    EXPECT_TRUE(link.host.Boxes().isEmpty());
    EXPECT_TRUE(link.host.OperationTexts().contains(QStringLiteral("РКМ8 найден...")));
    EXPECT_TRUE(link.host.LogLines().contains(QStringLiteral("Попытка соединения с РКМ8...\r\n")));
    PortTable::Global().Assign(kRkm8StandPort, QString());
}

TEST(Rkm8, AStandThatRefusesIsToldThreeTimesThenReported)
{
    PlayedStand played("Er");
    StandLink link;
    ASSERT_TRUE(link.stand.TransmitChanel().Connect());

    EXPECT_FALSE(link.stand.SetResistance(673.3));
    EXPECT_EQ(played.Commands(), 3);
    const QString refused = QStringLiteral("Команда управления РКМ8 не выполнена!");
    EXPECT_EQ(link.host.LogLines().filter(refused).size(), 3);
    ASSERT_EQ(link.host.Boxes().size(), 1);
    EXPECT_EQ(link.host.Boxes()[0].text, refused);
    EXPECT_EQ(link.host.Boxes()[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(link.host.Boxes()[0].style & MessageStyle::kIconMask, MessageStyle::kIconError);
}

TEST(Rkm8, ASilentStandIsReportedOnceByName)
{
    PtyPair line;  // nobody answers on the master side
    PortTable::Global().Assign(kRkm8StandPort, line.SlavePath());
    StandLink link;
    // Two short attempts keep the test fast; the stand's own are five of 2 s.
    link.stand.TransmitChanel().Settings().attempts = 2;
    link.stand.TransmitChanel().Settings().answerTimeoutSec = 1;

    EXPECT_FALSE(link.stand.Connect());
    ASSERT_EQ(link.host.Boxes().size(), 1);
    EXPECT_EQ(link.host.Boxes()[0].text,
              QStringLiteral("Стенд РКМ8 не найден. Убедитесь в том, что он правильно подключен к компьютеру и в "
                             "настройках программы выбран соответствующий СОМ-порт!"));
    EXPECT_EQ(line.ReadMasterUntilQuiet(100, 1000),
              Bytes({0x57, 0x64, 0x00, 0x0D, 0x0A, 0x57, 0x64, 0x00, 0x0D, 0x0A}));
    PortTable::Global().Assign(kRkm8StandPort, QString());
}

TEST(Rkm8, ASimulatedStandAnswersOkWithoutALine)
{
    StandLink link;
    link.stand.PrepareChannel(PortTable::kLastNumber, true);  // nothing is under that number

    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(link.stand.Connect());
    EXPECT_TRUE(link.stand.SetCurrent(0.025));
    EXPECT_LT(clock.elapsed(), 1000);
    const QStringList monitor = link.MonitorLines();
    ASSERT_EQ(monitor.size(), 5);  // the probe and four outputs, answers only
    for (const QString& line : monitor) {
        EXPECT_TRUE(line.startsWith(QStringLiteral("РКМ8(0002) COM32 In  ->: "))) << line.toStdString();
        EXPECT_TRUE(line.contains(QStringLiteral("4F 6B")));
    }
    EXPECT_TRUE(link.host.Boxes().isEmpty());
}

// The stand is simulated exactly when the meter beside it is reached over the shared-memory link.
TEST(Rkm8, StandBesideASharedMemoryMeterIsSimulated)
{
    CTransmitChanel meter;
    CRkm8 stand;
    for (const int kind : {kChannelUsb, kChannelDirect, kChannelModem, kChannelIp, kChannelSharedMemory}) {
        meter.Settings().kind = kind;
        stand.PrepareChannelBeside(7, meter);
        EXPECT_EQ(stand.Simulating(), kind == kChannelSharedMemory) << kind;
        // The stand's own line stays a direct one whatever the meter uses.
        EXPECT_EQ(stand.TransmitChanel().Settings().kind, kChannelDirect);
        EXPECT_EQ(stand.TransmitChanel().Settings().portNumber, 7);
    }
}

TEST(Rkm8, StandAnswerCheck)
{
    const StandCommand command = ResistanceCommand(2);
    const auto ok = [&](const QByteArray& answer) {
        return StandAnswerOk(reinterpret_cast<const std::uint8_t*>(answer.constData()), int(answer.size()), command);
    };
    EXPECT_TRUE(ok("Ok"));
    EXPECT_TRUE(ok("Ok\r\n"));
    EXPECT_TRUE(ok(Bytes({0x57, 0x64, 0x02, 0x0D, 0x0A}) + "Ok"));
    EXPECT_FALSE(ok(Bytes({0x57, 0x64, 0x03, 0x0D, 0x0A}) + "Ok"));  // the echo of another command
    EXPECT_FALSE(ok("OK"));
    EXPECT_FALSE(ok("O"));
    EXPECT_FALSE(ok("Okay"));
    EXPECT_FALSE(ok(""));
}
