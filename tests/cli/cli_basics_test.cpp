// zt5ctl as a user first meets it: its help and version, the demo meter, and what a mistyped command
// line gets.

#include "cli_process.h"

#include <gtest/gtest.h>

namespace {

TEST(CliBasics, HelpListsEveryCommandAndOptionAndVersionNamesTheProject)
{
    const CliRun help = RunZt5Ctl({QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    for (const char* word : {"info",           "read-config",
                             "write-config",   "check",
                             "report",         "set-clock",
                             "service",        "maker",
                             "service-centre", "descriptors",
                             "archive",        "current",
                             "events",         "flash",
                             "--tcp",          "--udp",
                             "--serial",       "--baud",
                             "--parity",       "--stop-bits",
                             "--bits",         "--node",
                             "--workdir",      "--settings",
                             "--demo",         "--framing",
                             "--functions",    "--address",
                             "--timeout",      "--attempts",
                             "--yes",          "--no",
                             "--format",       "--count",
                             "--repeat",       "calibrate",
                             "--stand",        "--connect-timeout",
                             "~/.pgpass",      "PGPASSWORD"})
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(word))) << word;
    EXPECT_TRUE(help.err.isEmpty());

    const CliRun version = RunZt5Ctl({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("zt5ctl %1\n").arg(QLatin1String(ZT5_PROJECT_VERSION)));
}

TEST(CliBasics, UsageErrorsExitTwoWithNothingOnStdout)
{
    const QList<QStringList> lines = {
        {},
        {QStringLiteral("frobnicate"), QStringLiteral("--demo")},
        {QStringLiteral("info"), QStringLiteral("--demo"), QStringLiteral("--bogus")},
        {QStringLiteral("info")},  // no line to the meter
        {QStringLiteral("info"), QStringLiteral("--demo"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:1")},
        {QStringLiteral("info"), QStringLiteral("--demo"), QStringLiteral("--framing"), QStringLiteral("tcp")},
        {QStringLiteral("info"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1")},
        {QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--demo")},  // no --date
        {QStringLiteral("archive"), QStringLiteral("week"), QStringLiteral("--demo"), QStringLiteral("--date"),
         QStringLiteral("2024-01-01")},
        {QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--demo"), QStringLiteral("--date"),
         QStringLiteral("2024-02-30")},
        {QStringLiteral("read-config"), QStringLiteral("--demo")},  // no -o
        {QStringLiteral("service"), QStringLiteral("70000"), QStringLiteral("--demo")},
        {QStringLiteral("service"), QStringLiteral("7"), QStringLiteral("1234567"), QStringLiteral("--demo")},
        {QStringLiteral("maker"), QStringLiteral("write"), QStringLiteral("--demo")},
        {QStringLiteral("check")},
        // A connect wait outside 5..60 seconds.
        {QStringLiteral("info"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:1"),
         QStringLiteral("--connect-timeout"), QStringLiteral("4")},
        {QStringLiteral("info"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:1"),
         QStringLiteral("--connect-timeout"), QStringLiteral("61")},
        {QStringLiteral("--count"), QStringLiteral("0"), QStringLiteral("events"), QStringLiteral("db")},
    };
    for (const QStringList& line : lines) {
        const CliRun run = RunZt5Ctl(line);
        EXPECT_EQ(run.exitCode, 2) << line.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << line.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("zt5ctl --help"))) << run.err.toStdString();
    }
}

TEST(CliBasics, DemoMeterAnswersInfo)
{
    const CliRun run = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--demo")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("АВ 1.3 ПВ 2.5\nМодель: ЗТ5-04\nЗаводской номер: 170001\nУровень ПО: 515\n"));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(CliBasics, VerboseCopiesTheExchangeMonitorToStderrOnly)
{
    const CliRun run = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--demo"), QStringLiteral("-v")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("==>>"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Попытка соединения с вычислителем..."))) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("==>>")));
}

}  // namespace
