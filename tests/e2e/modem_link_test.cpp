// The meter reached through a modem, as a user would: the driver connects through the simulated modem,
// reads the meter, and notices the far end hanging up while the line is idle; and the simulator program
// itself with its modem on a pseudo-terminal.

#include "channel/channel_settings.h"
#include "channel/modem_answer_wait.h"
#include "channel/modem_dialer.h"
#include "channel/modem_idle_text.h"
#include "channel/port_table.h"
#include "channel/serial_port.h"
#include "support/driver_rig.h"
#include "support/modem_line.h"
#include "support/recording_owner.h"

#include <QElapsedTimer>
#include <QProcess>
#include "base/utf8_text.h"
#include "support/wait_for.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <thread>

namespace {

constexpr int kSimCom = 25;

TEST(ModemLink, DriverReadsTheMeterAndNoticesTheCarrierLostWhileIdle)
{
    RigOptions options;
    options.line = RigLine::kPty;
    options.threads = false;
    options.modem = ModemLine::FastModem(19200);
    DriverRig rig(options);
    ASSERT_TRUE(rig.Start());
    rig.driver.TransmitChanel().SetModemControl(std::make_unique<ModemDialer>(ModemDialerSettings{0.3}));
    rig.driver.StartThreads();

    ASSERT_TRUE(rig.Run(kCommandConnect, nullptr, 20000));
    ASSERT_TRUE(rig.driver.IsDeviceConnected());
    EXPECT_EQ(rig.driver.Configuration().identity.typeCode, 0x1702);
    EXPECT_EQ(rig.driver.Configuration().identity.serialNumber, 170001u);
    EXPECT_EQ(rig.driver.TransmitChanel().Settings().modemConnected, 1);
    EXPECT_TRUE(rig.Messages().contains(Utf8("Поиск модема на скорости 19200 бит/сек.")));

    rig.server.DropCarrier();
    ASSERT_TRUE(WaitFor([&] { return !rig.driver.IsDeviceConnected(); }));
    const QString lost = Utf8("Потеряна связь с удаленным прибором (нет несущей)!");
    ASSERT_TRUE(WaitFor([&] { return rig.BoxTexts().contains(lost); }));
    EXPECT_EQ(rig.host.Boxes().last().caption, Utf8("Ошибка"));
    EXPECT_TRUE(rig.Messages().contains(lost));
    EXPECT_TRUE(WaitFor([&] { return !rig.driver.TransmitChanel().SerialPort().IsOpen(); }));
    EXPECT_EQ(rig.driver.TransmitChanel().Settings().modemConnected, 0);
}

// zt5-meter-sim with its modem, started as a program.
class SimProgram {
public:
    explicit SimProgram(const QStringList& arguments)
    {
        m_process.start(QStringLiteral(ZT5_SIM_PATH), arguments);
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~SimProgram()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    QString PtyPath() const { return m_path; }
    void Signal(int number) { ::kill(static_cast<pid_t>(m_process.processId()), number); }

private:
    QProcess m_process;
    QString m_path;
};

TEST(ModemLink, SimulatorProgramPlaysTheModem)
{
    const QStringList busy{"--modem-pty", "--modem-speed", "19200", "--modem-answer", "busy", "--modem-dial-ms", "50"};
    const QStringList connect{"--modem-pty", "--modem-speed", "19200", "--modem-guard-ms", "100"};
    for (const QStringList& arguments : {busy, connect}) {
        SimProgram sim(arguments);
        ASSERT_TRUE(sim.PtyPath().startsWith(QStringLiteral("/dev/pts/"))) << sim.PtyPath().toStdString();
        PortTable::Global().Assign(kSimCom, sim.PtyPath());
        RecordingOwner owner;
        CCommPortClass port;
        ChannelSettings settings;
        settings.phoneNumber = QStringLiteral("77");
        settings.baudRate = 19200;  // found on the first speed tried
        const ModemContext line{&port, &settings, &owner};
        port.SetOwner(&owner);
        port.SetModemMode(1);
        ASSERT_EQ(port.Open(kSimCom), 0);
        ASSERT_EQ(port.ApplyLineSettings(19200, 8, 0, 0), 0);
        ModemDialer dialer(ModemDialerSettings{0.3});
        ASSERT_EQ(dialer.Initialise(line), 0);
        if (arguments == busy) {
            EXPECT_EQ(dialer.Dial(line), kModemUnexpected);
            EXPECT_TRUE(owner.Log().contains(Utf8("Линия занята!")));
            continue;
        }
        ASSERT_EQ(dialer.Dial(line), 0);
        // SIGUSR1: the far end hangs up, and the modem says so on the idle line.
        sim.Signal(SIGUSR1);
        QByteArray idle;
        ASSERT_TRUE(WaitFor([&] { return (idle += ReadModemIdleText(port)).contains("NO CARRIER"); }, 5000));
        EXPECT_EQ(idle, QByteArray("\r\nNO CARRIER\r\n"));
        port.Close();
    }
    PortTable::Global().Assign(kSimCom, QString());
}

TEST(ModemLink, SimulatorHelpNamesTheModemOptions)
{
    QProcess sim;
    sim.start(QStringLiteral(ZT5_SIM_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(sim.waitForFinished(5000));
    const QString help = QString::fromUtf8(sim.readAllStandardOutput());
    for (const char* option : {"--modem-pty", "--modem-speed", "--modem-answer", "--modem-guard-ms", "--modem-dial-ms"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;

    QProcess wrong;
    wrong.start(QStringLiteral(ZT5_SIM_PATH), {"--modem-pty", "--modem-answer", "maybe"});
    ASSERT_TRUE(wrong.waitForFinished(5000));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(wrong.readAllStandardError())
                    .contains(Utf8("--modem-answer ждет connect, busy, no-dialtone или no-carrier")));
}

}  // namespace
