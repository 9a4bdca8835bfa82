#pragma once
// The PostgreSQL server of the test run (tests/archives/postgresql_server.sh, started by the ctest
// fixture "postgresql"; ZT5_TEST_POSTGRESQL names its state folder): its trusted superuser, the role
// the server asks for a password, and databases of a test's own, dropped when the object goes.

#include "archives/database_target.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

class TestPostgresql {
public:
    static constexpr const char* kPassword = "zt5-secret";

    TestPostgresql() = default;
    ~TestPostgresql();
    TestPostgresql(const TestPostgresql&) = delete;
    TestPostgresql& operator=(const TestPostgresql&) = delete;

    // False when this run has no server (outside ctest); `why` then says so, for GTEST_SKIP.
    bool Find(QString* why);

    const DatabaseTarget& Trusted() const { return m_trusted; }
    // The password role, with its password filled in.
    const DatabaseTarget& WithPassword() const { return m_withPassword; }

    // A new database owned by the password role; false with the server's words on failure.
    bool CreateDatabase(QString* name, QString* error);
    // The same, and `target` reaches it as the password role, with the password.
    bool CreateOwnDatabase(DatabaseTarget* target, QString* error);
    // A loopback port where no server listens (taken, then given back).
    static int ClosedPort();
    // Runs `sql` as the superuser in `database`; the first column of the first row goes to `value`.
    bool Query(const QString& database, const QString& sql, QVariant* value, QString* error) const;

private:
    DatabaseTarget m_trusted;
    DatabaseTarget m_withPassword;
    QStringList m_created;
};

// A test with a database of its own on the server, reached as the password role (`target`, with the
// password); skipped when the run has no server.
class OwnPostgresqlDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;

    TestPostgresql server;
    DatabaseTarget target;
};
