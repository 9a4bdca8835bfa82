// Files as they are named: an SQLite database named in a folder that is not there is a file error and
// no folder is made for it; the work folder's own db/ folder is made when the default database is used.

#include "cli_process.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

    const CliRun own = RunZt5Ctl(QStringList{QStringLiteral("export-db")} + place, 60000);
    EXPECT_EQ(own.exitCode, 0) << own.err.toStdString();
    EXPECT_TRUE(QFileInfo(work.filePath(QStringLiteral("db/Data.sqlite"))).isFile());
}

}  // namespace
