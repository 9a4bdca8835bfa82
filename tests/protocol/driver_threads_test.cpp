// The driver's command and service threads against the simulated meter: stop and break during a long
// wait, the order of queued commands and who hears of them, the cyclic read and its end by the user,
// commands without a handler, and a modem line lost while the connection is idle.

#include "base/message_style.h"
#include "base/utf8_text.h"
#include "channel/modem_control.h"
#include "protocol/command_extensions.h"
#include "support/driver_rig.h"
#include "support/qt_printers.h"
#include "support/wait_for.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

#include <cstring>

namespace {

constexpr int kPatience = 5000;  // for things that must happen, on a loaded machine
// A stop or break must end a 10 s wait; the bound leaves room for a machine busy with other builds.
constexpr int kPromptEndMs = 3000;
constexpr std::uint8_t kThreadsMeterModel = 3;

RigOptions ThreadsRig(RigLine line, bool threads = true)
{
    RigOptions options;
    options.line = line;
    options.threads = threads;
    return options;
}

// A meter with a configuration and the computer's time, connected through the command thread.
bool StartConnected(DriverRig& rig)
{
    rig.PutMeterConfiguration(DistinctConfiguration(kThreadsMeterModel, 0));
    rig.SetMeterClock(QDateTime::currentDateTime());
    return rig.Start() && rig.Run(kCommandConnect) && rig.driver.IsDeviceConnected();
}

// From now on the meter swallows every request; the driver waits 10 s per attempt.
void SilenceMeter(DriverRig& rig)
{
    rig.driver.TransmitChanel().Settings().answerTimeoutSec = 10;
    rig.WithImage([&](MeterImage&) { rig.meter.Faults().SetRule(FaultKind::Drop, FaultRule{1.0, 0}); });
}

TEST(DriverThreads, StopEndsALongWaitAtOnce)
{
    for (const RigLine line : {RigLine::kTcp, RigLine::kPty}) {
        DriverRig rig(ThreadsRig(line));
        ASSERT_TRUE(StartConnected(rig));
        SilenceMeter(rig);
        rig.host.Clear();
        const int before = rig.server.Requests();
        RecordingRequester page;
        rig.driver.QueueCommand(kCommandReadArchiveInfo, &page);
        ASSERT_TRUE(WaitFor([&] { return rig.server.Requests() > before; }, kPatience));
        // Queued behind it by a second press: the stop drops it too.
        rig.driver.QueueCommand(kCommandReadArchiveInfo, &page);

        QElapsedTimer clock;
        clock.start();
        rig.driver.QueueServiceRequest(kServiceStop);
        ASSERT_TRUE(rig.driver.WaitUntilIdle(kPatience));
        EXPECT_LT(clock.elapsed(), kPromptEndMs);
        EXPECT_TRUE(rig.Messages().contains(Utf8("Выполнение прервано пользователем!")));
        EXPECT_TRUE(rig.host.Boxes().isEmpty());
        // Stopped and failed: the running operation's text gives way to the result.
        EXPECT_EQ(rig.LastOperationText(), Utf8("Операция прервана пользователем!"));
        EXPECT_EQ(page.Notices(), 0);
        EXPECT_EQ(rig.host.BusyChanges(), 2) << "only the running command went busy and idle";
        // A stop leaves the connection standing.
        EXPECT_TRUE(rig.driver.IsDeviceConnected());
    }
}

TEST(DriverThreads, ALineLostDuringACommandIsOneMessageAndLeavesTheMeterDisconnected)
{
    DriverRig rig;
    ASSERT_TRUE(StartConnected(rig));
    rig.host.Clear();
    // The cable pulled: the meter's end of the connection goes away between two commands.
    rig.server.DropClients();
    ASSERT_TRUE(WaitFor([&] { return rig.server.Clients() == 0; }, kPatience));
    // The configuration read takes many exchanges; after the first failure each one fails at once.
    ASSERT_TRUE(rig.Run(kCommandReadConfiguration));
    const QStringList boxes = rig.BoxTexts();
    ASSERT_EQ(boxes.size(), 1) << boxes.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(boxes[0].startsWith(Utf8("Связь с прибором потеряна: Ошибка "))) << boxes[0].toStdString();
    EXPECT_EQ(rig.host.Boxes()[0].style, unsigned(MessageStyle::kIconError));
    EXPECT_FALSE(rig.driver.IsDeviceConnected());
    EXPECT_EQ(rig.host.ConnectionTexts().last(), Utf8("Связь потеряна"));
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция завершена НЕ успешно!"));
}

TEST(DriverThreads, BreakStopsTheWaitAndClosesTheConnection)
{
    DriverRig rig;
    ASSERT_TRUE(StartConnected(rig));
    SilenceMeter(rig);
    rig.host.Clear();
    const int before = rig.server.Requests();
    rig.driver.QueueCommand(kCommandReadMakerData, nullptr);
    ASSERT_TRUE(WaitFor([&] { return rig.server.Requests() > before; }, kPatience));

    QElapsedTimer clock;
    clock.start();
    rig.driver.QueueServiceRequest(kServiceBreakConnection);
    ASSERT_TRUE(WaitFor([&] { return !rig.driver.IsDeviceConnected() && rig.driver.WaitUntilIdle(0); }, kPatience));
    EXPECT_LT(clock.elapsed(), kPromptEndMs);
    EXPECT_TRUE(rig.Messages().contains(Utf8("Выполнение прервано пользователем!")));
    ASSERT_TRUE(
        WaitFor([&] { return rig.host.OperationTexts().contains(Utf8("Соединение разорвано...")); }, kPatience));
    EXPECT_EQ(rig.host.DeviceInformation().last(), QString());
    EXPECT_FALSE(rig.driver.TransmitChanel().IpSocket().IsOpen());
}

TEST(DriverThreads, QueuedCommandsRunInOrderAndTellTheLastRequester)
{
    DriverRig rig(ThreadsRig(RigLine::kTcp, false));
    rig.WithImage([](MeterImage& image) { image.PutU32(134, 4242); });  // the service centre's serial
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.driver.TransmitChanel().Connect());
    RecordingRequester first, second;
    rig.driver.QueueCommand(kCommandReadMakerData, &first);
    rig.driver.QueueCommand(kCommandReadServiceCentreData, &second);
    rig.driver.StartThreads();
    ASSERT_TRUE(rig.driver.WaitUntilIdle(kPatience));

    EXPECT_EQ(first.Calls(), QStringList());
    EXPECT_EQ(second.Calls(),
              (QStringList{QStringLiteral("R"), QStringLiteral("6"), QStringLiteral("R"), QStringLiteral("8")}));
    EXPECT_EQ(std::uint32_t{rig.driver.Data().serviceCentreData.displaySerial}, 4242u);
    // Busy went on and off around each.
    EXPECT_EQ(rig.host.BusyChanges(), 4);
    EXPECT_FALSE(rig.driver.IsBusy());
}

TEST(DriverThreads, StoppingACyclicReadEndsItByTheUsersWish)
{
    DriverRig rig;
    rig.SetMeterClock(QDateTime(QDate(2016, 2, 10), QTime(12, 0)));
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.driver.TransmitChanel().Connect());
    DriverData& data = rig.driver.Data();
    data.request.kind = kArchiveCurrentValues;
    data.cyclicRead = true;
    data.cyclicPeriodMs = 5000;
    RecordingRequester page;
    rig.driver.QueueCommand(kCommandReadCurrentValues, &page);
    // The notice comes after the read: from here on the cycle waits for its next turn.
    ASSERT_TRUE(WaitFor([&] { return page.Notices() == 1; }, kPatience));
    // The meter's clock heads its current values.
    const QByteArray read(reinterpret_cast<const char*>(rig.driver.AreaBytes(MeterArea::kCurrentValues).data()), 4);
    EXPECT_EQ(read, QByteArray::fromHex("0A02100C"));

    QElapsedTimer clock;
    clock.start();
    rig.driver.QueueServiceRequest(kServiceStop);
    ASSERT_TRUE(rig.driver.WaitUntilIdle(kPatience));
    EXPECT_LT(clock.elapsed(), kPromptEndMs);
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция завершена по желанию пользователя!"));
    EXPECT_EQ(page.Calls(), (QStringList{QStringLiteral("12"), QStringLiteral("R"), QStringLiteral("12")}));
    EXPECT_EQ(rig.server.Requests(), 1);
}

// Handlers of the commands that live outside the driver.
class TestExtensions : public CommandExtensions {
public:
    bool ExportWholeArchive(CRovoRedod&) override { return false; }
    bool CalibrateTemperature(CRovoRedod& driver) override { return driver.Operations().ReadCurrentDateTime(); }
    bool CalibrateCurrent(CRovoRedod&) override { return false; }
    QByteArray ReadIdleModemText(CRovoRedod&) override
    {
        ++looks;
        return modemText;
    }

    std::atomic<int> looks{0};
    QByteArray modemText;
};

TEST(DriverThreads, CommandsWithoutAHandlerFailWithAMessage)
{
    DriverRig rig;
    ASSERT_TRUE(rig.Start());
    RecordingRequester page;
    ASSERT_TRUE(rig.Run(kCommandExportArchive, &page));
    const QString missing = Utf8("Операция \"Весь архив\" недоступна: её исполнитель не подключен!");
    EXPECT_TRUE(rig.Messages().contains(missing));
    EXPECT_EQ(rig.BoxTexts(), QStringList{missing});
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция завершена НЕ успешно!"));

    rig.host.Clear();
    ASSERT_TRUE(rig.Run(14, &page));
    EXPECT_EQ(rig.BoxTexts(), QStringList{Utf8("Ошибка выполнения CRovoRedod::MainProcess!")});
    rig.host.Clear();
    rig.driver.QueueServiceRequest(7);
    ASSERT_TRUE(WaitFor([&] { return !rig.host.Boxes().isEmpty(); }, kPatience));
    EXPECT_EQ(rig.BoxTexts(), QStringList{Utf8("Ошибка выполнения CRovoRedod::ServiceProcessLoop!")});
    EXPECT_EQ(page.Notices(), 0);
}

TEST(DriverThreads, HandlersRunOnTheCommandThread)
{
    TestExtensions extensions;
    DriverRig rig;
    rig.driver.SetCommandExtensions(&extensions);
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.driver.TransmitChanel().Connect());
    RecordingRequester page;
    ASSERT_TRUE(rig.Run(kCommandCalibrateTemperature, &page));
    EXPECT_EQ(page.Calls(), (QStringList{QStringLiteral("R"), QStringLiteral("17")}));
    EXPECT_EQ(rig.server.Requests(), 1);
}

// A modem that connects at once: the line behind it is the simulator's pseudo-terminal.
class ConnectedModem : public ModemControl {
public:
    int Initialise(const ModemContext&) override { return 0; }
    int Dial(const ModemContext&) override { return 0; }
    int ToCommandMode(const ModemContext&) override { return 0; }
    int HangUp(const ModemContext&) override
    {
        ++hangUps;
        return 0;
    }
    std::atomic<int> hangUps{0};
};

TEST(DriverThreads, ModemLineLostWhileIdleBreaksTheConnection)
{
    TestExtensions extensions;
    extensions.modemText = QByteArray("\r\nNO CARRIER\r\n");
    DriverRig rig(ThreadsRig(RigLine::kPty, false));
    rig.PutMeterConfiguration(DistinctConfiguration(kThreadsMeterModel, 0));
    ASSERT_TRUE(rig.Start());
    auto modem = std::make_unique<ConnectedModem>();
    ConnectedModem* modemSeen = modem.get();
    rig.driver.TransmitChanel().SetModemControl(std::move(modem));
    rig.driver.TransmitChanel().Settings().kind = kChannelModem;
    rig.driver.SetCommandExtensions(&extensions);
    rig.driver.StartThreads();

    ASSERT_TRUE(rig.Run(kCommandConnect));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitFor([&] { return !rig.driver.IsDeviceConnected(); }, kPatience));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(extensions.looks.load(), 1);
    const QString lost = Utf8("Потеряна связь с удаленным прибором (нет несущей)!");
    ASSERT_TRUE(WaitFor([&] { return rig.BoxTexts().contains(lost); }, kPatience));
    EXPECT_EQ(rig.host.Boxes().last().caption, Utf8("Ошибка"));
    EXPECT_TRUE(rig.Messages().contains(lost));
    EXPECT_EQ(modemSeen->hangUps.load(), 1);
}

}  // namespace
