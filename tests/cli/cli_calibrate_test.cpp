// `zt5ctl calibrate` against two simulator processes: the meter on a loopback TCP port and the
// reference stand alone on a pseudo-terminal of its own.

#include "cli_process.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

TEST(CliCalibrate, TemperatureCalibrationRunsAgainstTheStandAndShowsItsExchange)
{
    SimProcess meter({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")});
    SimProcess stand({QStringLiteral("--stand"), QStringLiteral("pty")});
    ASSERT_FALSE(meter.Place().isEmpty());
    ASSERT_TRUE(stand.Place().startsWith(QStringLiteral("/dev/"))) << stand.Place().toStdString();

    const CliRun run = RunZt5Ctl({QStringLiteral("calibrate"), QStringLiteral("t"), QStringLiteral("--tcp"),
                                  meter.Place(), QStringLiteral("--stand"), stand.Place(), QStringLiteral("-v")},
                                 60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The progress, step by step, and the result.
    const QStringList out = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList expected{QStringLiteral("Попытка соединения с РКМ8..."),
                               QStringLiteral("Установка меры R в значение 51.000 Ом!..."),
                               QStringLiteral("РКМ8 найден..."),
                               QStringLiteral("Установка меры R в значение 51.000 Ом!..."),
                               QStringLiteral("Установка меры R в значение 141.200 Ом!..."),
                               QStringLiteral("Установка меры R в значение 673.300 Ом!..."),
                               QStringLiteral("Операция успешно завершена!")};
    EXPECT_EQ(out, expected) << run.out.toStdString();
    // The stand's blocks in the exchange log: the command out, "Ok" back.
    EXPECT_TRUE(run.err.contains(QRegularExpression(QStringLiteral("РКМ8\\(0005\\) COM\\d+ Out ->: .*57 64 07 0D 0A"))))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QRegularExpression(QStringLiteral("РКМ8\\(0002\\) COM\\d+ In  ->: .*4F 6B"))));
}

TEST(CliCalibrate, UsageAndAMissingStand)
{
    const CliRun noStand = RunZt5Ctl(
        {QStringLiteral("calibrate"), QStringLiteral("t"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:1")});
    EXPECT_EQ(noStand.exitCode, 2);
    EXPECT_TRUE(noStand.err.contains(QStringLiteral("--stand"))) << noStand.err.toStdString();
    const CliRun what = RunZt5Ctl({QStringLiteral("calibrate"), QStringLiteral("x"), QStringLiteral("--stand"),
                                   QStringLiteral("/dev/null"), QStringLiteral("--tcp"),
                                   QStringLiteral("127.0.0.1:1")});
    EXPECT_EQ(what.exitCode, 2);

    // A stand port that does not exist: the meter is reached, the calibration fails and says why.
    SimProcess meter({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")});
    ASSERT_FALSE(meter.Place().isEmpty());
    const CliRun dead = RunZt5Ctl({QStringLiteral("calibrate"), QStringLiteral("p"), QStringLiteral("--tcp"),
                                   meter.Place(), QStringLiteral("--stand"), QStringLiteral("/dev/zt5-no-stand")},
                                  60000);
    EXPECT_EQ(dead.exitCode, 3);
    EXPECT_TRUE(dead.err.contains(QStringLiteral("Последовательный порт не готов"))) << dead.err.toStdString();
    EXPECT_TRUE(dead.out.contains(QStringLiteral("Попытка соединения с РКМ8...")));
}

}  // namespace
