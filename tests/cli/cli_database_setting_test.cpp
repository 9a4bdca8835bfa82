// zt5ctl without --database uses the archive database the settings name, as the desktop program does:
// a PostgreSQL server stored without its password, the password taken from the password file
// (PGPASSFILE); with no password anywhere it is refused before the meter is asked, in the user's words.

#include "cli_process.h"

#include "support/scoped_environment.h"
#include "support/test_postgresql.h"

#include <QFile>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

const QStringList kSettingArchiveOptions = {QStringLiteral("--archive-end"), QStringLiteral("2024-02-26T12"),
                                            QStringLiteral("--archive-days"), QStringLiteral("2")};

bool WriteFile(const QString& path, const QString& text, QFile::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(text.toUtf8());
    file.close();
    return file.setPermissions(permissions);
}

}  // namespace

TEST(PostgresqlCliDatabaseSetting, StoredServerWithThePasswordFileWithoutDatabaseOption)
{
    TestPostgresql server;
    QString why;
    if (!server.Find(&why))
        GTEST_SKIP() << qPrintable(why);
    QString database;
    ASSERT_TRUE(server.CreateDatabase(&database, &why)) << qPrintable(why);
    const DatabaseTarget role = server.WithPassword();

    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("settings.ini"));
    const QString passwordFile = folder.filePath(QStringLiteral("pgpass"));
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    ASSERT_TRUE(WriteFile(settings,
                          QStringLiteral("[Settings\\Database]\r\nConnection=postgresql://%1@127.0.0.1:%2/%3\r\n")
                              .arg(role.user)
                              .arg(role.port)
                              .arg(database),
                          ownerOnly));
    ScopedEnvironmentVariable noPassword("PGPASSWORD", QByteArray());
    ScopedEnvironmentVariable file("PGPASSFILE", QFile::encodeName(passwordFile));

    SimProcess sim(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + kSettingArchiveOptions);
    ASSERT_FALSE(sim.Place().isEmpty());
    const QStringList words{QStringLiteral("export-db"),
                            QStringLiteral("--tcp"),
                            sim.Place(),
                            QStringLiteral("--settings"),
                            settings,
                            QStringLiteral("--workdir"),
                            folder.path()};

    // No line for this server in the file: refused before the meter, saying what is missing.
    ASSERT_TRUE(WriteFile(passwordFile, QStringLiteral("elsewhere:5432:*:*:nothing\n"), ownerOnly));
    const CliRun refused = RunZt5Ctl(words);
    EXPECT_EQ(refused.exitCode, 5);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Сервер требует пароль пользователя \"zt5_password\"")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.out.isEmpty());

    ASSERT_TRUE(WriteFile(passwordFile,
                          QStringLiteral("127.0.0.1:%1:%2:%3:%4\n")
                              .arg(role.port)
                              .arg(database, role.user, QLatin1String(TestPostgresql::kPassword)),
                          ownerOnly));
    const CliRun exported = RunZt5Ctl(words);
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith(
        QStringLiteral("postgresql://zt5_password@127.0.0.1:%1/%2\n").arg(role.port).arg(database)))
        << exported.out.toStdString();
    QVariant rows;
    ASSERT_TRUE(server.Query(database, QStringLiteral("SELECT COUNT(*) FROM \"ZT5_Arch_Values_Hour\""), &rows, &why))
        << qPrintable(why);
    EXPECT_GT(rows.toLongLong(), 24);
}
