#include "support/test_postgresql.h"

#include "archives/database_connection.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QVariant>

#include <unistd.h>

namespace {

bool ReadTarget(const QString& file, DatabaseTarget* target, QString* why)
{
    QFile text(file);
    if (!text.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("no server: ") + file;
        return false;
    }
    return ParseDatabaseTarget(QString::fromUtf8(text.readAll().trimmed()), target, why);
}

}  // namespace

TestPostgresql::~TestPostgresql()
{
    QVariant ignored;
    QString error;
    for (const QString& name : m_created)
        Query(QStringLiteral("postgres"), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name), &ignored,
              &error);
}

bool TestPostgresql::Find(QString* why)
{
    const QByteArray state = qgetenv("ZT5_TEST_POSTGRESQL");
    if (state.isEmpty()) {
        *why = QStringLiteral("runs under ctest, which starts the server (ZT5_TEST_POSTGRESQL names its state folder)");
        return false;
    }
    const QString folder = QString::fromLocal8Bit(state);
    return ReadTarget(folder + QStringLiteral("/connection"), &m_trusted, why)
        && ReadTarget(folder + QStringLiteral("/password_connection"), &m_withPassword, why);
}

bool TestPostgresql::CreateDatabase(QString* name, QString* error)
{
    static QAtomicInt counter;
    *name = QStringLiteral("zt5_test_%1_%2").arg(::getpid()).arg(counter.fetchAndAddRelaxed(1));
    QVariant ignored;
    if (!Query(QStringLiteral("postgres"),
               QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(*name, m_withPassword.user), &ignored, error))
        return false;
    m_created << *name;
    return true;
}

bool TestPostgresql::CreateOwnDatabase(DatabaseTarget* target, QString* error)
{
    QString name;
    if (!CreateDatabase(&name, error))
        return false;
    *target = m_withPassword;
    target->database = name;
    return true;
}

int TestPostgresql::ClosedPort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost) ? server.serverPort() : 1;
}

bool TestPostgresql::Query(const QString& database, const QString& sql, QVariant* value, QString* error) const
{
    static QAtomicInt counter;
    const QString connection = QStringLiteral("zt5-test-postgresql-%1").arg(counter.fetchAndAddRelaxed(1));
    bool done = false;
    {
        DatabaseTarget target = m_trusted;
        target.database = database;
        QSqlDatabase db = AddDatabaseConnection(target, connection);
        QSqlQuery query(db);
        if (!db.open()) {
            *error = db.lastError().text();
        } else if (!query.exec(sql)) {
            *error = query.lastError().text();
        } else {
            *value = query.next() ? query.value(0) : QVariant();
            done = true;
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return done;
}

void OwnPostgresqlDatabaseTest::SetUp()
{
    QString why;
    if (!server.Find(&why))
        GTEST_SKIP() << qPrintable(why);
    ASSERT_TRUE(server.CreateOwnDatabase(&target, &why)) << qPrintable(why);
}
