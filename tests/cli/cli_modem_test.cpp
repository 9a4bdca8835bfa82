// zt5ctl reaching the meter through a modem: the simulator plays the modem on a pseudo-terminal, the
// meter answers behind it, and the command line dials, reads and hangs up.

#include "cli_process.h"

#include <gtest/gtest.h>

namespace {

TEST(CliModem, InfoThroughTheModemThenHangUp)
{
    SimProcess sim({QStringLiteral("--modem-pty"), QStringLiteral("--modem-guard-ms"), QStringLiteral("200"),
                    QStringLiteral("--serial-number"), QStringLiteral("515151")});
    ASSERT_FALSE(sim.Place().isEmpty());
    const CliRun info = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--modem"), sim.Place(),
                                   QStringLiteral("--phone"), QStringLiteral("5551234"), QStringLiteral("--timeout"),
                                   QStringLiteral("2"), QStringLiteral("-v")});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("Заводской номер: 515151\n"))) << info.out.toStdString();
    // The exchange log: the GSM script, tone dialling, and the hang-up when the program ends.
    EXPECT_TRUE(info.err.contains(QStringLiteral("Инициализация модема (GSM модем)"))) << info.err.toStdString();
    EXPECT_TRUE(info.err.contains(QStringLiteral("Посылка команды: \"ATDT5551234\"")));
    EXPECT_TRUE(info.err.contains(QStringLiteral("Ответ получен: \"CONNECT 115200\"")));
    EXPECT_TRUE(info.err.contains(QStringLiteral("Посылка команды: \"+++\"")));
    EXPECT_TRUE(info.err.contains(QStringLiteral("Посылка команды: \"ATH\"")));

    // Pulse dialling with the user's initialisation string.
    const CliRun pulse = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--modem"), sim.Place(),
                                    QStringLiteral("--phone"), QStringLiteral("77"), QStringLiteral("--dial"),
                                    QStringLiteral("pulse"), QStringLiteral("--modem-init"), QStringLiteral("AT&F"),
                                    QStringLiteral("-v")});
    ASSERT_EQ(pulse.exitCode, 0) << pulse.err.toStdString();
    EXPECT_TRUE(pulse.err.contains(QStringLiteral("Инициализация модема командой AT&F (пользовательский тип модема)")));
    EXPECT_TRUE(pulse.err.contains(QStringLiteral("Посылка команды: \"ATDP77\"")));
}

TEST(CliModem, BusyLineAndMissingNumber)
{
    SimProcess sim({QStringLiteral("--modem-pty"), QStringLiteral("--modem-answer"), QStringLiteral("busy")});
    ASSERT_FALSE(sim.Place().isEmpty());
    const CliRun busy = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--modem"), sim.Place(),
                                   QStringLiteral("--phone"), QStringLiteral("5551234")});
    EXPECT_EQ(busy.exitCode, 3);
    EXPECT_TRUE(busy.out.isEmpty());
    EXPECT_TRUE(busy.err.contains(QStringLiteral("Линия занята!"))) << busy.err.toStdString();
    EXPECT_TRUE(busy.err.contains(QStringLiteral("Операция завершена не успешно!")));

    const CliRun usage = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--modem"), sim.Place()});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.err.contains(QStringLiteral("--modem ждет номер прибора: --phone НОМЕР")))
        << usage.err.toStdString();
    const CliRun badDial = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--modem"), sim.Place(),
                                      QStringLiteral("--phone"), QStringLiteral("1"), QStringLiteral("--dial"),
                                      QStringLiteral("rotary")});
    EXPECT_EQ(badDial.exitCode, 2);
    EXPECT_TRUE(badDial.err.contains(QStringLiteral("--dial ждет одно из: tone, pulse"))) << badDial.err.toStdString();
}

}  // namespace
