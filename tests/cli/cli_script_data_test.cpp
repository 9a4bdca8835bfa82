// What a script reads off zt5ctl against a simulated meter: the current values and totals as JSON
// (JSON Lines with --repeat), totals text whose columns never run together, an event log read past
// its end that stops at the last entry and says so, and a collector run whose failed meter has no
// number and whose times carry their UTC offset.

#include "cli_process.h"
#include "collect_rig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QJsonObject Object(const QString& text)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
    return document.object();
}

// The numbers of a table line after its head ("Труба 1:", "ТВ 2:"); each must read as a number.
QStringList Cells(const QString& text, const QString& head)
{
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(head))
            return line.mid(head.size()).split(u' ', Qt::SkipEmptyParts);
    }
    return {};
}

TEST(CliScriptData, CurrentAsJsonTotalsColumnsApartEventsStopAtTheLogsEnd)
{
    SimProcess sim(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 8124));
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir folder;
    const QStringList line{QStringLiteral("--tcp"), sim.Place(), QStringLiteral("--workdir"), folder.path()};
    const QStringList json{QStringLiteral("--format"), QStringLiteral("json")};
    const QRegularExpression meterTime(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"));

    const CliRun values = RunZt5Ctl(QStringList{QStringLiteral("current")} + json + line);
    ASSERT_EQ(values.exitCode, 0) << values.err.toStdString();
    const QJsonObject current = Object(values.out);
    EXPECT_EQ(current[QStringLiteral("Serial")].toInteger(), 8124);
    EXPECT_TRUE(meterTime.match(current[QStringLiteral("Date")].toString()).hasMatch()) << values.out.toStdString();
    for (const char* key : {"t1_1", "P2_3", "Go1_2", "Gm2_1", "Phi1_1", "h1_1", "Phi_2", "ta_1", "dT_2", "DP"})
        EXPECT_TRUE(current[QLatin1String(key)].isDouble()) << key;
    EXPECT_TRUE(current[QStringLiteral("Events")].isDouble());

    const CliRun totalsJson = RunZt5Ctl(QStringList{QStringLiteral("current"), QStringLiteral("--totals")} + json
                                        + line);
    ASSERT_EQ(totalsJson.exitCode, 0) << totalsJson.err.toStdString();
    const QJsonObject totals = Object(totalsJson.out);
    EXPECT_EQ(totals[QStringLiteral("Serial")].toInteger(), 8124);
    EXPECT_GT(totals[QStringLiteral("V1_1")].toDouble(), 0.0) << totalsJson.out.toStdString();
    EXPECT_TRUE(totals[QStringLiteral("Qwi_2")].isDouble());
    EXPECT_TRUE(totals[QStringLiteral("NoPwrCnt")].isDouble());
    EXPECT_TRUE(totals[QStringLiteral("ResBits")].isNull());

    // Six-figure totals fill their column: a space still parts them from the next.
    const CliRun totalsText = RunZt5Ctl(QStringList{QStringLiteral("current"), QStringLiteral("--totals")} + line);
    ASSERT_EQ(totalsText.exitCode, 0) << totalsText.err.toStdString();
    for (int pipe = 1; pipe <= 6; ++pipe) {
        const QStringList cells = Cells(totalsText.out, QStringLiteral("Труба %1:").arg(pipe));
        ASSERT_EQ(cells.size(), 2) << totalsText.out.toStdString();
        for (const QString& cell : cells) {
            bool number = false;
            cell.toDouble(&number);
            EXPECT_TRUE(number) << cell.toStdString();
        }
    }
    EXPECT_EQ(Cells(totalsText.out, QStringLiteral("ТВ 1:")).size(), 11) << totalsText.out.toStdString();

    // Repeated: one JSON line a reading, until the signal.
    const std::unique_ptr<QProcess> repeating = StartZt5Ctl(
        QStringList{QStringLiteral("current"), QStringLiteral("--repeat"), QStringLiteral("1")} + json + line);
    QByteArray out;
    for (int waited = 0; out.count('\n') < 2 && waited < 150 && repeating->state() == QProcess::Running; ++waited) {
        repeating->waitForReadyRead(100);
        out += repeating->readAllStandardOutput();
    }
    ::kill(pid_t(repeating->processId()), SIGINT);
    const CliRun repeated = FinishProcess(*repeating, 10000);
    const QStringList readings = QString::fromUtf8(out + repeated.out.toUtf8()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(readings.size(), 2) << repeated.err.toStdString();
    for (const QString& reading : readings)
        EXPECT_EQ(Object(reading)[QStringLiteral("Serial")].toInteger(), 8124) << reading.toStdString();

    // The simulated database-changes log holds 24 entries: from the 23rd, 2 of the 5 asked for.
    const QStringList pastEnd{QStringLiteral("events"), QStringLiteral("db"),      QStringLiteral("--from"),
                              QStringLiteral("22"),     QStringLiteral("--count"), QStringLiteral("5")};
    const CliRun events = RunZt5Ctl(pastEnd + json + line);
    EXPECT_EQ(events.exitCode, 1) << events.err.toStdString();
    const QStringList entries = events.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(entries.size(), 2) << events.out.toStdString();
    EXPECT_EQ(Object(entries[1])[QStringLiteral("index")].toInt(), 23);
    EXPECT_TRUE(meterTime.match(Object(entries[1])[QStringLiteral("time")].toString()).hasMatch());
    EXPECT_TRUE(events.err.contains(QStringLiteral("Запрошено записей: 5, есть: 2 (в журнале записей: 24)")))
        << events.err.toStdString();
    const CliRun eventsText = RunZt5Ctl(pastEnd + line);
    EXPECT_EQ(eventsText.exitCode, 1);
    EXPECT_FALSE(eventsText.out.isEmpty());
    EXPECT_FALSE(eventsText.out.contains(QStringLiteral("255:255:255"))) << eventsText.out.toStdString();
}

TEST(CliScriptData, CollectJsonFailedMeterHasNoNumberTimesCarryTheirOffset)
{
    SimProcess sim(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 8125, 1));
    ASSERT_FALSE(sim.Place().isEmpty());
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("Отвечает"), sim.Place());
    // Nobody answers address 9.
    rig.AddTcpNode(QStringLiteral("Молчит"), sim.Place(), 9, 1);
    ASSERT_TRUE(rig.Save());
    const CliRun run = RunZt5Ctl(
        QStringList{QStringLiteral("collect"), QStringLiteral("--format"), QStringLiteral("json")}
            + rig.Place(rig.SqliteTarget()),
        60000);
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    const QJsonArray results = Object(run.out)[QStringLiteral("results")].toArray();
    ASSERT_EQ(results.size(), 2) << run.out.toStdString();
    const QRegularExpression zoned(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-]\\d\\d:\\d\\d)$"));
    for (const QJsonValue& value : results) {
        const QJsonObject result = value.toObject();
        const bool silent = result[QStringLiteral("node")].toString() == QStringLiteral("Молчит");
        EXPECT_EQ(result[QStringLiteral("serial")].isNull(), silent) << run.out.toStdString();
        EXPECT_EQ(result[QStringLiteral("error")].isString(), silent);
        EXPECT_EQ(result[QStringLiteral("error")].toString().isEmpty(), !silent);
        if (!silent) {
            EXPECT_EQ(result[QStringLiteral("serial")].toInteger(), 8125);
        }
        for (const char* key : {"started", "finished"})
            EXPECT_TRUE(zoned.match(result[QLatin1String(key)].toString()).hasMatch()) << run.out.toStdString();
    }
}

}  // namespace
