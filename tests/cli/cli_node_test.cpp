// The node base from the command line against a simulated meter: a node added by zt5ctl is one the
// core's base reads and zt5ctl reaches the meter through; the dialog's checks refuse a bad node and
// leave the file as it was; set and remove change the base.

#include "cli_process.h"

#include "nodes/node_base.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CliNode, AddedNodeReachesTheMeterAndBadOnesAreRefused)
{
    SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--serial-number"),
                    QStringLiteral("4242")});
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir work;
    const QStringList place{QStringLiteral("--workdir"), work.path(), QStringLiteral("--settings"),
                            work.filePath(QStringLiteral("settings.ini"))};
    const auto run = [&](const QStringList& words) { return RunZt5Ctl(words + place); };

    const CliRun added = run({QStringLiteral("node"), QStringLiteral("add"), QStringLiteral("Котельная"),
                              QStringLiteral("--tcp"), sim.Place(), QStringLiteral("--note"), QStringLiteral("у входа"),
                              QStringLiteral("--attempts"), QStringLiteral("2")});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    NodeBase base;
    UserMessage failure;
    ASSERT_TRUE(base.Load(work.path(), &failure)) << failure.text.toStdString();
    ASSERT_EQ(base.Count(), 1);
    EXPECT_EQ(base.At(0).record.Note(), QStringLiteral("у входа"));
    EXPECT_EQ(base.At(0).record.RepeatCount(), 2);

    const CliRun info = run({QStringLiteral("info"), QStringLiteral("--node"), QStringLiteral("Котельная")});
    EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("Заводской номер: 4242"))) << info.out.toStdString();

    // Refused as the dialog refuses them; the file stays byte for byte.
    const QString file = NodeBase::FilePath(work.path());
    const QByteArray before = Bytes(file);
    const CliRun twice = run({QStringLiteral("node"), QStringLiteral("add"), QStringLiteral("Котельная"),
                              QStringLiteral("--tcp"), sim.Place()});
    EXPECT_EQ(twice.exitCode, 4);
    const CliRun badAddress = run({QStringLiteral("node"), QStringLiteral("set"), QStringLiteral("Котельная"),
                                   QStringLiteral("--tcp"), QStringLiteral("10.0.0.256:502")});
    EXPECT_EQ(badAddress.exitCode, 4);
    EXPECT_FALSE(badAddress.err.isEmpty());
    EXPECT_EQ(Bytes(file), before);

    const CliRun set = run({QStringLiteral("node"), QStringLiteral("set"), QStringLiteral("Котельная"),
                            QStringLiteral("--rename"), QStringLiteral("Котельная 2"), QStringLiteral("--address"),
                            QStringLiteral("7")});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const CliRun shown = run({QStringLiteral("node"), QStringLiteral("show"), QStringLiteral("Котельная 2"),
                              QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    const QJsonObject node = QJsonDocument::fromJson(shown.out.toUtf8()).object();
    EXPECT_EQ(node[QStringLiteral("network_address")].toInt(), 7);
    EXPECT_EQ(node[QStringLiteral("ip_address")].toString(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(node[QStringLiteral("com_port")].isNull());

    EXPECT_EQ(run({QStringLiteral("node"), QStringLiteral("remove"), QStringLiteral("Котельная 2")}).exitCode, 0);
    const CliRun empty = run({QStringLiteral("node"), QStringLiteral("list")});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty()) << empty.out.toStdString();
}

}  // namespace
