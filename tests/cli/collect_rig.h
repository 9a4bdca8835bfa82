#pragma once
// A work folder for collector runs: a node base of simulated meters (TCP lines and pseudo-terminals,
// the latter under COM numbers of the settings' port table) and the archive database they go into,
// with the queries the collector tests ask of it; a PostgreSQL database of a test's own for them.

#include "archives/database_target.h"
#include "support/test_postgresql.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>

class CollectRig {
public:
    CollectRig();

    // A node on a TCP line ("127.0.0.1:PORT") or a pseudo-terminal (its path), at the meter's address.
    // `serial`: the factory number the node base holds (0: not entered).
    void AddTcpNode(const QString& name, const QString& place, int address = 1, int attempts = 2,
                    std::uint32_t serial = 0);
    void AddPtyNode(const QString& name, const QString& path, int address = 1);
    // Writes the node base and the settings (the port table); false when that failed.
    bool Save();

    // --workdir, --settings and --database for zt5ctl.
    QStringList Place(const QString& database) const;
    QString SqliteTarget() const { return QStringLiteral("sqlite:") + m_work.filePath(QStringLiteral("Data.sqlite")); }

    const QTemporaryDir& Work() const { return m_work; }

private:
    QTemporaryDir m_work;
    QStringList m_ports;  // "COM1=/dev/pts/5"
    QList<QByteArray> m_nodes;
};

// The simulator's arguments for a meter with `days` of archive up to a fixed hour and its own serial.
QStringList SimMeterArguments(const QString& line, std::uint32_t serial, int days = 2);

inline const QString kHourTable = QStringLiteral("ZT5_Arch_Values_Hour");

// The target a connection text names (a test failure when it names none).
DatabaseTarget TargetOf(const QString& text);

// Answers of the database (a connection of its own, closed again).
struct TableCounts {
    qint64 rows = 0;
    qint64 distinctDates = 0;  // rows with different dates: equal to rows when nothing is duplicated
    qint64 spanHours = 0;      // hours from the first row to the last, plus one
};
TableCounts CountRows(const DatabaseTarget& target, const QString& table, std::uint32_t serial);
// Runs a statement on the database; false when it failed.
bool ExecuteSql(const DatabaseTarget& target, const QString& sql);
// The runs table as the first collector made it, before the node base's serial and the notes.
inline constexpr const char* kFirstCollectRunsSql =
    "CREATE TABLE \"CollectRuns\" (\"Serial\" INTEGER, \"Node\" TEXT, \"Started\" TIMESTAMP, \"Finished\" "
    "TIMESTAMP, \"Written\" INTEGER, \"AlreadyThere\" INTEGER, \"Error\" TEXT)";
// The records this meter has in the four archive tables.
qint64 StoredRecords(const DatabaseTarget& target, std::uint32_t serial);
// The CollectRuns rows as "Node|Serial|Written|AlreadyThere|Error", in the order they were written.
QStringList CollectRunRows(const DatabaseTarget& target);
// One column of the node's CollectRuns rows as text (NULL as "NULL"), sorted: rows finished within one
// second have no order.
QStringList CollectRunValues(const DatabaseTarget& target, const QString& node, const QString& column);

// A database of the test's own on the test run's server (skipped without one), and its connection text
// for zt5ctl.
class PostgresqlCollect : public OwnPostgresqlDatabaseTest {
protected:
    void SetUp() override;
    // Ends every connection to the test's database, as a server restart would.
    void DropConnections();
    // Runs `sql` in the test's database as the server's superuser.
    void AsSuperuser(const QString& sql);

    QString text;
};
