// "Проверить соединение" against real databases: an SQLite file that is there, one that is not yet,
// one that is not a database; the test run's PostgreSQL server with the right and a wrong password, no
// password, a port nobody listens on, a database that is not there; and a password found in the
// password file the way the programs choose the database.

#include "app/database_choice.h"
#include "app/session_secrets.h"
#include "archives/archive_database.h"
#include "archives/database_check.h"
#include "base/settings_sections.h"
#include "base/settings_store.h"
#include "support/scoped_environment.h"
#include "support/test_postgresql.h"

#include <QFile>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <functional>

namespace {

using PostgresqlConnectionCheck = OwnPostgresqlDatabaseTest;

}  // namespace

TEST(DatabaseCheck, SqliteFileThereNotYetThereOrNotADatabase)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("db/Data.sqlite"));
    DatabaseCheckResult result = CheckDatabaseConnection(target);
    EXPECT_TRUE(result.usable) << qPrintable(result.text);
    EXPECT_TRUE(result.text.contains(QStringLiteral("будет создан"))) << qPrintable(result.text);
    EXPECT_FALSE(QFile::exists(target.path));  // only looked for

    {
        ArchiveDatabase database;
        ASSERT_TRUE(database.Open(target));
        ASSERT_TRUE(database.Close());
    }
    result = CheckDatabaseConnection(target);
    EXPECT_TRUE(result.usable) << qPrintable(result.text);
    EXPECT_TRUE(result.text.contains(QStringLiteral("Таблицы архивов в базе есть"))) << qPrintable(result.text);

    target.path = folder.filePath(QStringLiteral("notes.txt"));
    QFile notes(target.path);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write(QByteArray(4096, 'x'));
    notes.close();
    result = CheckDatabaseConnection(target);
    EXPECT_FALSE(result.usable);
    EXPECT_TRUE(result.text.contains(QStringLiteral("не открывается как база данных SQLite")))
        << qPrintable(result.text);
    EXPECT_EQ(QFileInfo(target.path).size(), 4096);

    target.path = folder.path();
    EXPECT_FALSE(CheckDatabaseConnection(target).usable);
}

TEST_F(PostgresqlConnectionCheck, RightAndWrongPasswordNoPasswordWrongPortAndMissingDatabase)
{
    // The machine's own password sources must not answer for a test that gives none.
    const ScopedEnvironmentVariable noPassword("PGPASSWORD", QByteArray());
    const ScopedEnvironmentVariable noFile("PGPASSFILE", QByteArrayLiteral("/nonexistent/pgpass"));
    DatabaseCheckResult result = CheckDatabaseConnection(target);
    EXPECT_TRUE(result.usable) << qPrintable(result.text);
    EXPECT_TRUE(
        result.text.startsWith(QStringLiteral("Соединение с сервером установлено. Таблиц архивов в базе пока нет")))
        << qPrintable(result.text);

    struct Case {
        std::function<void(DatabaseTarget&)> spoil;
        QString told;
    };
    const int closedPort = TestPostgresql::ClosedPort();
    const Case cases[] = {
        {[](DatabaseTarget& t) { t.password = QStringLiteral("not-the-password"); },
         QStringLiteral("Сервер отклонил пароль пользователя \"zt5_password\".")},
        {[](DatabaseTarget& t) { t.password.clear(); }, QStringLiteral("Сервер требует пароль пользователя")},
        {[closedPort](DatabaseTarget& t) { t.port = closedPort; },
         QStringLiteral("Сервер 127.0.0.1, порт %1 не принимает соединений").arg(closedPort)},
        {[](DatabaseTarget& t) { t.database = QStringLiteral("zt5_no_such_database"); },
         QStringLiteral("На сервере нет базы данных \"zt5_no_such_database\".")},
    };
    for (const Case& c : cases) {
        DatabaseTarget spoilt = target;
        c.spoil(spoilt);
        result = CheckDatabaseConnection(spoilt);
        EXPECT_FALSE(result.usable) << qPrintable(c.told);
        // Only a refused password is one: the window forgets a typed password on that alone.
        EXPECT_EQ(result.passwordRefused, c.told.contains(QStringLiteral("отклонил пароль"))) << qPrintable(c.told);
        EXPECT_TRUE(result.text.startsWith(c.told)) << qPrintable(result.text);
        // The engine's own words follow in brackets.
        EXPECT_TRUE(result.text.contains(QStringLiteral("\n("))) << qPrintable(result.text);
    }

    // A user who may not make the tables in a database of someone else's is told before any export.
    DatabaseTarget foreign = target;
    foreign.database = QStringLiteral("postgres");
    result = CheckDatabaseConnection(foreign);
    EXPECT_FALSE(result.usable);
    EXPECT_TRUE(result.text.contains(QStringLiteral("нет права"))) << qPrintable(result.text);
}

TEST_F(PostgresqlConnectionCheck, StoredServerWithThePasswordFileConnectsAndExports)
{
    QTemporaryDir folder;
    const QString passwordFile = folder.filePath(QStringLiteral("pgpass"));
    {
        QFile file(passwordFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("127.0.0.1:%1:%2:%3:%4\n")
                       .arg(target.port)
                       .arg(target.database, target.user, QLatin1String(TestPostgresql::kPassword))
                       .toUtf8());
        file.close();
        ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    }
    SettingsStore store(folder.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(StoreArchiveDatabase(store, folder.path(), target));

    SessionSecrets typed;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PGPASSFILE"), passwordFile);
    DatabaseChoice choice;
    QString error;
    ASSERT_TRUE(ChooseArchiveDatabase(store, folder.path(), {}, PasswordSources::OfProcess(&typed, environment),
                                      &choice, &error))
        << qPrintable(error);
    EXPECT_EQ(choice.passwordOrigin, PasswordOrigin::kPasswordFile);
    const DatabaseCheckResult result = CheckDatabaseConnection(choice.target);
    EXPECT_TRUE(result.usable) << qPrintable(result.text);

    // The database opens for the export and makes its tables.
    ArchiveDatabase database;
    ASSERT_TRUE(database.Open(choice.target)) << qPrintable(database.LastFailureText());
    ASSERT_TRUE(database.Close());
    QVariant tables;
    ASSERT_TRUE(server.Query(target.database,
                             QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE tableowner = 'zt5_password'"),
                             &tables, &error))
        << qPrintable(error);
    EXPECT_EQ(tables.toInt(), 4);
}
