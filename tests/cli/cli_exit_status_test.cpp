// What a script learns from zt5ctl's exit status, against a simulated meter: done, done in part, a
// meter that does not answer, the meter's refusal, a result that cannot be written, a stop by SIGTERM
// (what was stored stays) and a repeated read that a signal ends normally.

#include "cli_process.h"
#include "collect_rig.h"

#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(CliExitStatus, EachOutcomeHasItsOwnCode)
{
    SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--archive-end"),
                    QStringLiteral("2024-03-10T12")});
    ASSERT_FALSE(sim.Place().isEmpty());
    const QStringList line{QStringLiteral("--tcp"), sim.Place()};
    const auto run = [&](const QStringList& words) { return RunZt5Ctl(words + line, 60000); };

    EXPECT_EQ(run({QStringLiteral("info")}).exitCode, 0);
    EXPECT_EQ(run({QStringLiteral("info"), QStringLiteral("--bogus")}).exitCode, 2);
    // Two records of the hour archive, then its end: what was printed stands, the run is done in part.
    const CliRun partial = run({QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--date"),
                                QStringLiteral("2024-03-10T11"), QStringLiteral("--count"), QStringLiteral("3")});
    EXPECT_EQ(partial.exitCode, 1) << partial.err.toStdString();
    EXPECT_EQ(partial.out.count(QStringLiteral("10.03.2024")), 2) << partial.out.toStdString();
    // The meter refuses a date it does not hold.
    EXPECT_EQ(run({QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--date"),
                   QStringLiteral("2030-01-01T00")})
                  .exitCode,
              4);
    // Nobody answers at address 9; nobody listens on a closed port.
    EXPECT_EQ(run({QStringLiteral("info"), QStringLiteral("--address"), QStringLiteral("9"),
                   QStringLiteral("--attempts"), QStringLiteral("1"), QStringLiteral("--timeout"), QStringLiteral("1")})
                  .exitCode,
              3);
    EXPECT_EQ(RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--tcp"),
                         QStringLiteral("127.0.0.1:%1").arg(ClosedTcpPort())})
                  .exitCode,
              3);
    // A file that is not there, and a result the disk cannot take.
    EXPECT_EQ(RunZt5Ctl({QStringLiteral("check"), QStringLiteral("/nonexistent/k.zt5")}).exitCode, 5);
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(ZT5CTL_PATH), QStringList{QStringLiteral("info")} + line);
    ASSERT_TRUE(full.waitForFinished(30000));
    EXPECT_EQ(full.exitCode(), 5) << full.readAllStandardError().toStdString();

    // SIGTERM in the middle of an export: 143, and the records stored before it stay.
    QTemporaryDir folder;
    const QString database = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("a.sqlite"));
    // A slow line: about 0.15 s a record, so the export is still reading when it is stopped.
    SimProcess big(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 7001)
                   + QStringList{QStringLiteral("--baud-delay"), QStringLiteral("19200")});
    ASSERT_FALSE(big.Place().isEmpty());
    auto exporting = StartZt5Ctl({QStringLiteral("export-db"), QStringLiteral("--tcp"), big.Place(),
                                  QStringLiteral("--database"), database, QStringLiteral("--workdir"), folder.path()});
    const DatabaseTarget target = TargetOf(database);
    for (int i = 0; i < 600 && CountRows(target, kHourTable, 7001).rows == 0; ++i)
        QThread::msleep(50);
    ASSERT_GT(CountRows(target, kHourTable, 7001).rows, 0);
    ::kill(pid_t(exporting->processId()), SIGTERM);
    const CliRun stopped = FinishProcess(*exporting, 30000);
    EXPECT_EQ(stopped.exitCode, 143) << stopped.err.toStdString();
    EXPECT_GT(CountRows(target, kHourTable, 7001).rows, 0);

    // A repeated read is meant to be ended by a signal: that is its normal end.
    auto repeating = StartZt5Ctl(QStringList{QStringLiteral("current"), QStringLiteral("--repeat"), QStringLiteral("1")}
                                 + line);
    QByteArray out;
    for (int waited = 0; out.isEmpty() && waited < 150 && repeating->state() == QProcess::Running; ++waited) {
        repeating->waitForReadyRead(100);
        out += repeating->readAllStandardOutput();
    }
    ASSERT_FALSE(out.isEmpty());
    ::kill(pid_t(repeating->processId()), SIGTERM);
    EXPECT_EQ(FinishProcess(*repeating, 10000).exitCode, 0);
}

}  // namespace
