// Every reading command's --format json against a simulated meter: valid JSON with typed values that
// are the meter's own, JSON Lines for record streams, and a form a command cannot give refused.

#include "cli_process.h"
#include "collect_rig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonObject Object(const CliRun& run)
{
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return document.object();
}

QList<QJsonObject> Lines(const CliRun& run)
{
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QList<QJsonObject> lines;
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
        QJsonParseError error{};
        lines << QJsonDocument::fromJson(line.toUtf8(), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    }
    return lines;
}

TEST(CliJson, ReadingCommandsGiveTypedJson)
{
    SimProcess sim(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 8123));
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir folder;
    const QStringList json{QStringLiteral("--tcp"),     sim.Place(),
                           QStringLiteral("--format"),  QStringLiteral("json"),
                           QStringLiteral("--workdir"), folder.path()};
    const auto run = [&](const QStringList& words) { return RunZt5Ctl(words + json, 60000); };

    const QJsonObject info = Object(run({QStringLiteral("info")}));
    EXPECT_EQ(info[QStringLiteral("serial")].toInteger(), 8123);
    EXPECT_TRUE(info[QStringLiteral("firmware_level")].isDouble());

    const QJsonObject hour = Object(run({QStringLiteral("descriptors")}))[QStringLiteral("archives")]
                                 .toObject()[QStringLiteral("hour")]
                                 .toObject();
    EXPECT_EQ(hour[QStringLiteral("last_record")].toString(), QStringLiteral("2024-02-26T13:00:00"));
    EXPECT_TRUE(hour[QStringLiteral("wrapped")].isBool());

    const QList<QJsonObject> events = Lines(
        run({QStringLiteral("events"), QStringLiteral("db"), QStringLiteral("--count"), QStringLiteral("3")}));
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[2][QStringLiteral("index")].toInt(), 2);
    EXPECT_TRUE(events[0][QStringLiteral("quantity_type")].isDouble());

    EXPECT_TRUE(Object(run({QStringLiteral("maker"), QStringLiteral("read")}))[QStringLiteral("maker_id")].isDouble());
    EXPECT_TRUE(
        Object(run({QStringLiteral("service-centre"), QStringLiteral("read")}))[QStringLiteral("modbus_minutes")]
            .isDouble());

    // A period as JSON Lines: the archive database's columns, one hour a line.
    const QList<QJsonObject> period = Lines(
        run({QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
             QStringLiteral("2024-02-26T08"), QStringLiteral("--to"), QStringLiteral("2024-02-26T11"),
             QStringLiteral("--database"), QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("p.db"))}));
    ASSERT_EQ(period.size(), 4);
    EXPECT_EQ(period[0][QStringLiteral("Serial")].toInteger(), 8123);
    EXPECT_EQ(period[3][QStringLiteral("Date")].toString(), QStringLiteral("2024-02-26 11:00"));

    const QJsonObject exported = Object(run({QStringLiteral("export-db"), QStringLiteral("--database"),
                                             QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("e.db"))}));
    EXPECT_TRUE(exported[QStringLiteral("complete")].toBool());
    EXPECT_GT(exported[QStringLiteral("written")].toInteger(), 0);
    EXPECT_TRUE(exported[QStringLiteral("archives")]
                    .toObject()[QStringLiteral("day")]
                    .toObject()[QStringLiteral("stopped_at")]
                    .isNull());

    // A settings file read off the meter, checked, and written back.
    const QString file = folder.filePath(QStringLiteral("k.zt5"));
    ASSERT_EQ(
        RunZt5Ctl({QStringLiteral("read-config"), QStringLiteral("--tcp"), sim.Place(), QStringLiteral("-o"), file})
            .exitCode,
        0);
    const CliRun check = RunZt5Ctl({QStringLiteral("check"), file, QStringLiteral("--format"), QStringLiteral("json")});
    if (check.exitCode == 0) {
        EXPECT_TRUE(Object(check)[QStringLiteral("valid")].toBool());
        const QJsonObject written = Object(run({QStringLiteral("write-config"), file, QStringLiteral("--yes")}));
        EXPECT_EQ(written[QStringLiteral("serial")].toInteger(), 8123);
    } else {
        // A meter fresh from the factory may hold settings the checks refuse: the verdict still comes as JSON.
        EXPECT_EQ(check.exitCode, 4);
        EXPECT_FALSE(QJsonDocument::fromJson(check.out.toUtf8()).object()[QStringLiteral("valid")].toBool());
    }

    // A form the command cannot give is a usage error, never ignored.
    const CliRun flash = run({QStringLiteral("flash"), QStringLiteral("1")});
    EXPECT_EQ(flash.exitCode, 2);
    EXPECT_TRUE(flash.out.isEmpty());
}

}  // namespace
