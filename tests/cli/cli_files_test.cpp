// Files as they are named: an SQLite database named in a folder that is not there is a file error and
// no folder is made for it; the work folder's own db/ folder is made, named or not (the collector's
// service names it).
// -o gives a name without an extension the command's and takes any other as given, "-" is stdout, a
// FIFO is written to and stays a FIFO.

#include "cli_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

TEST(CliFiles, NamedDatabaseFolderMustExistTheWorkFoldersOwnIsMade)
{
    SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")});
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir work;
    const QStringList place{QStringLiteral("--tcp"),      sim.Place(),
                            QStringLiteral("--workdir"),  work.path(),
                            QStringLiteral("--settings"), work.filePath(QStringLiteral("settings.ini"))};
    const QString missing = work.filePath(QStringLiteral("no/such/folder"));
    const CliRun named = RunZt5Ctl(QStringList{QStringLiteral("export-db"), QStringLiteral("--database"),
                                               QStringLiteral("sqlite:") + missing + QStringLiteral("/a.sqlite")}
                                   + place);
    EXPECT_EQ(named.exitCode, 5) << named.err.toStdString();
    EXPECT_TRUE(named.err.contains(missing)) << named.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("no"))));

    const CliRun own = RunZt5Ctl(
        QStringList{QStringLiteral("export-db"), QStringLiteral("--database"),
                    QStringLiteral("sqlite:") + work.filePath(QStringLiteral("db/Data.sqlite"))}
            + place,
        60000);
    EXPECT_EQ(own.exitCode, 0) << own.err.toStdString();
    EXPECT_TRUE(QFileInfo(work.filePath(QStringLiteral("db/Data.sqlite"))).isFile());
}

TEST(CliFiles, OutputIsWrittenAsNamedToStdoutAndIntoAFifo)
{
    SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")});
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir work;
    const QDir dir(work.path());
    const auto readConfig = [&](const QString& output) {
        return RunZt5Ctl({QStringLiteral("read-config"), QStringLiteral("--tcp"), sim.Place(),
                          QStringLiteral("--workdir"), work.path(), QStringLiteral("-o"), output});
    };
    // With a folder part or without one, the same rule.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    const CliRun bare = readConfig(QStringLiteral("bare"));
    const CliRun dotted = readConfig(QStringLiteral("./dotted"));
    QDir::setCurrent(previous);
    EXPECT_EQ(bare.exitCode, 0) << bare.err.toStdString();
    EXPECT_EQ(dotted.exitCode, 0) << dotted.err.toStdString();
    for (const char* name : {"bare.zt5", "dotted.zt5"})
        EXPECT_TRUE(QFileInfo(dir.filePath(QLatin1String(name))).isFile()) << name;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("bare"))));
    ASSERT_EQ(readConfig(dir.filePath(QStringLiteral("conf.cfg"))).exitCode, 0);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("conf.cfg"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("conf.cfg.zt5"))));

    const QString settings = dir.filePath(QStringLiteral("bare.zt5"));
    const auto report = [&](const QStringList& words) {
        return RunZt5Ctl(QStringList{QStringLiteral("report"), settings} + words);
    };
    const CliRun html = report({QStringLiteral("-o"), dir.filePath(QStringLiteral("rep.html"))});
    EXPECT_EQ(html.exitCode, 0) << html.err.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("rep.html"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("rep.html.xls"))));
    // A name the command chose is told.
    const CliRun chosen = report({});
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    EXPECT_TRUE(
        chosen.err.contains(QStringLiteral("Отчет записан: %1\n").arg(dir.filePath(QStringLiteral("bare.xls")))))
        << chosen.err.toStdString();
    QFile saved(dir.filePath(QStringLiteral("bare.xls")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray head = saved.read(200);
    ASSERT_FALSE(head.isEmpty());

    const CliRun piped = report({QStringLiteral("-o"), QStringLiteral("-")});
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_FALSE(piped.err.contains(QStringLiteral("Отчет записан"))) << piped.err.toStdString();
    EXPECT_TRUE(piped.out.toLatin1().startsWith(head.left(60))) << piped.out.left(200).toStdString();
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("-")));

    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] {
        QFile end(fifo);
        if (end.open(QIODevice::ReadOnly))
            received = end.readAll();
    });
    const CliRun intoFifo = report({QStringLiteral("-o"), fifo});
    // Should zt5ctl not have opened it, the reader is let go all the same.
    if (const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
        ::close(fd);
    reader.join();
    EXPECT_EQ(intoFifo.exitCode, 0) << intoFifo.err.toStdString();
    EXPECT_TRUE(received.startsWith(head.left(60)));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_FALSE(QFileInfo::exists(fifo + QStringLiteral(".xls")));

    // Records by date go to stdout: a file, or a column choice, has nothing to act on there.
    const CliRun byDate = RunZt5Ctl({QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--date"),
                                     QStringLiteral("2024-02-26"), QStringLiteral("--tcp"), sim.Place(),
                                     QStringLiteral("-o"), dir.filePath(QStringLiteral("a.csv"))});
    EXPECT_EQ(byDate.exitCode, 2) << byDate.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("a.csv"))));
}

}  // namespace
