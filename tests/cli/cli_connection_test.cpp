// How zt5ctl reaches a meter and what it says when it cannot: a node of the node base in a work
// folder of its own, a closed TCP port, a serial device that is not there, and a question nobody
// answered.

#include "cli_process.h"

#include "channel/channel_types.h"
#include "channel/system_error.h"
#include "nodes/node_base.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(CliConnection, NodeOfTheBaseBringsItsLineFramingAndFunctions)
{
    SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--framing"),
                    QStringLiteral("ascii"), QStringLiteral("--address"), QStringLiteral("17")});
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("Base")));

    NodeEntry entry;
    entry.record = NodeRecord::New(kChannelIp, FreePortTable::AllFree());
    entry.record.SetName(QStringLiteral("Котельная 1"));
    entry.record.SetIpAddress(QStringLiteral("127.0.0.1"));
    entry.record.SetIpPort(sim.Place().section(QLatin1Char(':'), 1).toInt());
    entry.record.SetTransportProtocol(kFramingAscii);
    entry.record.SetFunctionSet(0);
    entry.record.SetNetworkAddress(17);
    NodeBase base;
    base.Append(entry);
    UserMessage failure;
    ASSERT_TRUE(base.Save(work.path(), &failure)) << failure.text.toStdString();

    const QStringList place = {QStringLiteral("--workdir"), work.path(), QStringLiteral("--settings"),
                               work.filePath(QStringLiteral("settings.ini"))};
    const CliRun run = RunZt5Ctl(QStringList{QStringLiteral("info"), QStringLiteral("--node"),
                                             QStringLiteral("Котельная 1"), QStringLiteral("-v")}
                                 + place);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Заводской номер: 170001")));
    // ":1103" on the wire: ASCII framing, address 17, standard function 3, as the node says.
    EXPECT_TRUE(run.err.contains(QStringLiteral("==>>  3A 31 31 30 33 "))) << run.err.toStdString();

    // A meter at another address stays silent: an option next to --node wins over the node.
    const CliRun other = RunZt5Ctl(QStringList{QStringLiteral("info"), QStringLiteral("--node"),
                                               QStringLiteral("Котельная 1"), QStringLiteral("--address"),
                                               QStringLiteral("5"), QStringLiteral("--attempts"), QStringLiteral("1"),
                                               QStringLiteral("--timeout"), QStringLiteral("1")}
                                   + place);
    EXPECT_EQ(other.exitCode, 3);
    EXPECT_FALSE(other.err.isEmpty());

    const CliRun missing = RunZt5Ctl(
        QStringList{QStringLiteral("info"), QStringLiteral("--node"), QStringLiteral("Нет такого")} + place);
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Нет такого"))) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());
}

TEST(CliConnection, DeadLinesGiveTheSystemsMessage)
{
    const CliRun tcp = RunZt5Ctl(
        {QStringLiteral("info"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(ClosedTcpPort())});
    EXPECT_EQ(tcp.exitCode, 3);
    EXPECT_TRUE(tcp.out.isEmpty());
    EXPECT_TRUE(tcp.err.contains(SystemErrorText(ECONNREFUSED))) << tcp.err.toStdString();

    // A name that does not resolve is told as such; a name that does is used.
    const CliRun unknown = RunZt5Ctl(
        {QStringLiteral("info"), QStringLiteral("--tcp"), QStringLiteral("nosuchhost.invalid:502")});
    EXPECT_EQ(unknown.exitCode, 3);
    EXPECT_EQ(unknown.err, QStringLiteral("zt5ctl: Информация: Адрес \"nosuchhost.invalid\" не найден\n"));
    const CliRun named = RunZt5Ctl(
        {QStringLiteral("info"), QStringLiteral("--tcp"), QStringLiteral("localhost:%1").arg(ClosedTcpPort())});
    EXPECT_EQ(named.exitCode, 3);
    EXPECT_TRUE(named.err.contains(SystemErrorText(ECONNREFUSED))) << named.err.toStdString();

    // The port that does not open is told in the serial port's own words.
    const CliRun serial = RunZt5Ctl(
        {QStringLiteral("info"), QStringLiteral("--serial"), QStringLiteral("/dev/zt5-no-such-port")});
    EXPECT_EQ(serial.exitCode, 3);
    EXPECT_TRUE(serial.out.isEmpty());
    // What is wrong with it, in the serial port's own words.
    EXPECT_TRUE(serial.err.startsWith(QStringLiteral("zt5ctl: Информация: Последовательный порт не готов!\nпорт COM")))
        << serial.err.toStdString();
    EXPECT_TRUE(serial.err.endsWith(QStringLiteral(" (/dev/zt5-no-such-port) отсутствует\n")))
        << serial.err.toStdString();
}

TEST(CliConnection, QuestionWithoutAnAnswerFailsWithItsText)
{
    const QString question = QStringLiteral("Выполнение команды приведет к сбросу архива. Продолжить выполнение?");
    const CliRun unanswered = RunZt5Ctl({QStringLiteral("set-clock"), QStringLiteral("--demo")});
    EXPECT_EQ(unanswered.exitCode, 4);
    EXPECT_TRUE(unanswered.out.isEmpty());
    EXPECT_TRUE(unanswered.err.startsWith(QStringLiteral("zt5ctl: Подтверждение: ") + question))
        << unanswered.err.toStdString();
    EXPECT_TRUE(unanswered.err.contains(QStringLiteral("--yes"))) << unanswered.err.toStdString();

    const CliRun no = RunZt5Ctl({QStringLiteral("set-clock"), QStringLiteral("--demo"), QStringLiteral("--no")});
    EXPECT_EQ(no.exitCode, 4);
    EXPECT_FALSE(no.err.contains(QStringLiteral("--yes")));

    const CliRun yes = RunZt5Ctl({QStringLiteral("set-clock"), QStringLiteral("--demo"), QStringLiteral("--yes")});
    EXPECT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    EXPECT_EQ(yes.err, QStringLiteral("zt5ctl: Подтверждение: ") + question + QLatin1Char('\n'));
}

TEST(CliConnection, ServiceDataRoundTripOnTheDemoMeter)
{
    // Each run has its own demo meter: a write is seen by the meter's answer, not by a later read.
    const CliRun read = RunZt5Ctl({QStringLiteral("service-centre"), QStringLiteral("read"), QStringLiteral("--demo")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_TRUE(read.out.contains(QStringLiteral("Наработка modbus: "))) << read.out.toStdString();

    const CliRun write = RunZt5Ctl({QStringLiteral("service-centre"), QStringLiteral("write"), QStringLiteral("--demo"),
                                    QStringLiteral("--serial-number"), QStringLiteral("555"),
                                    QStringLiteral("--battery"), QStringLiteral("C"), QStringLiteral("--variant"),
                                    QStringLiteral("Украина")});
    EXPECT_EQ(write.exitCode, 0) << write.err.toStdString();

    const CliRun maker = RunZt5Ctl({QStringLiteral("maker"), QStringLiteral("read"), QStringLiteral("--demo")});
    ASSERT_EQ(maker.exitCode, 0) << maker.err.toStdString();
    EXPECT_TRUE(maker.out.contains(QStringLiteral("Модель: 04\n"))) << maker.out.toStdString();

    // "04.1" needs firmware level 524; the demo meter is at 515.
    const CliRun refused = RunZt5Ctl({QStringLiteral("maker"), QStringLiteral("write"), QStringLiteral("--demo"),
                                      QStringLiteral("--maker-id"), QStringLiteral("3"),
                                      QStringLiteral("--serial-number"), QStringLiteral("9"), QStringLiteral("--model"),
                                      QStringLiteral("04.1")});
    EXPECT_EQ(refused.exitCode, 4);
    EXPECT_EQ(refused.err, QStringLiteral("zt5ctl: Информация: Недопустимый номер модели для данного прибора!\n"));
}

}  // namespace
