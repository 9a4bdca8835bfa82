#include "cli/collect_rig.h"

#include "channel/channel_types.h"
#include "nodes/node_base.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

namespace {

NodeRecord NewNode(int kind, const QString& name, int address)
{
    NodeRecord node = NodeRecord::New(kind, FreePortTable::AllFree());
    node.SetName(name);
    node.SetNetworkAddress(address);
    node.SetFunctionSet(1);
    node.SetRepeatTimeoutSec(1);
    node.SetRepeatCount(2);
    return node;
}

QByteArray Bytes(const NodeRecord& node)
{
    return QByteArray(reinterpret_cast<const char*>(&node), sizeof node);
}

// A query on a connection of its own.
template <class Use>
void WithDatabase(const DatabaseTarget& target, Use use)
{
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("collect-rig-%1").arg(++counter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(
            target.engine == DatabaseTarget::Engine::kSqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"),
            name);
        if (target.engine == DatabaseTarget::Engine::kSqlite) {
            db.setDatabaseName(target.path);
        } else {
            db.setHostName(target.host);
            db.setPort(target.port);
            db.setUserName(target.user);
            db.setPassword(target.password);
            db.setDatabaseName(target.database);
        }
        if (db.open())
            use(db);
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

CollectRig::CollectRig()
{
    QDir(m_work.path()).mkpath(QStringLiteral("Base"));
}

void CollectRig::AddTcpNode(const QString& name, const QString& place, int address, int attempts, std::uint32_t serial)
{
    NodeRecord node = NewNode(kChannelIp, name, address);
    node.SetSerialNumber(std::int32_t(serial));
    node.SetIpAddress(place.section(u':', 0, 0));
    node.SetIpPort(place.section(u':', 1).toInt());
    node.SetIpProtocol(NodeRecord::kIpProtocolTcp);
    node.SetRepeatCount(attempts);
    m_nodes << Bytes(node);
}

void CollectRig::AddPtyNode(const QString& name, const QString& path, int address)
{
    NodeRecord node = NewNode(kChannelDirect, name, address);
    const int number = int(m_ports.size()) + 1;
    node.SetComPort(number);
    m_ports << QStringLiteral("COM%1=%2").arg(number).arg(path);
    m_nodes << Bytes(node);
}

bool CollectRig::Save()
{
    NodeBase base;
    for (const QByteArray& bytes : m_nodes) {
        NodeEntry entry;
        std::memcpy(static_cast<void*>(&entry.record), bytes.constData(), sizeof entry.record);
        base.Append(entry);
    }
    UserMessage failure;
    if (!base.Save(m_work.path(), &failure))
        return false;
    QFile settings(m_work.filePath(QStringLiteral("settings.ini")));
    if (!settings.open(QIODevice::WriteOnly))
        return false;
    settings.write(QByteArrayLiteral("[Settings\\Ports]\n") + m_ports.join(u'\n').toUtf8() + "\n");
    return true;
}

QStringList CollectRig::Place(const QString& database) const
{
    return {QStringLiteral("--workdir"),  m_work.path(),
            QStringLiteral("--settings"), m_work.filePath(QStringLiteral("settings.ini")),
            QStringLiteral("--database"), database};
}

QStringList SimMeterArguments(const QString& line, std::uint32_t serial, int days)
{
    QStringList arguments = line == QLatin1String("pty") ? QStringList{QStringLiteral("--pty")}
                                                         : QStringList{QStringLiteral("--tcp"), line};
    return arguments + QStringList{QStringLiteral("--serial-number"), QString::number(serial),
                                   QStringLiteral("--archive-days"),  QString::number(days),
                                   QStringLiteral("--archive-end"),   QStringLiteral("2024-02-26T12")};
}

DatabaseTarget TargetOf(const QString& text)
{
    DatabaseTarget target;
    QString error;
    EXPECT_TRUE(ParseDatabaseTarget(text, &target, &error)) << error.toStdString();
    return target;
}

TableCounts CountRows(const DatabaseTarget& target, const QString& table, std::uint32_t serial)
{
    TableCounts counts;
    WithDatabase(target, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT \"Date\"), MIN(\"Date\"), MAX(\"Date\") FROM "
                                       "\"%1\" WHERE \"Serial\" = %2")
                            .arg(table)
                            .arg(std::int32_t(serial)))
            || !query.next())
            return;
        counts.rows = query.value(0).toLongLong();
        counts.distinctDates = query.value(1).toLongLong();
        const QDateTime first = query.value(2).toDateTime();
        const QDateTime last = query.value(3).toDateTime();
        if (first.isValid() && last.isValid())
            counts.spanHours = first.secsTo(last) / 3600 + 1;
    });
    return counts;
}

bool ExecuteSql(const DatabaseTarget& target, const QString& sql)
{
    bool done = false;
    WithDatabase(target, [&](QSqlDatabase& db) { done = QSqlQuery(db).exec(sql); });
    return done;
}

qint64 StoredRecords(const DatabaseTarget& target, std::uint32_t serial)
{
    qint64 records = 0;
    for (const char* table :
         {"ZT5_Arch_Values_Hour", "ZT5_Arch_Values_Day", "ZT5_Arch_Values_Month", "ZT5_Arch_Values_Itog"})
        records += CountRows(target, QLatin1String(table), serial).rows;
    return records;
}

QStringList CollectRunValues(const DatabaseTarget& target, const QString& node, const QString& column)
{
    QStringList values;
    WithDatabase(target, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT \"%1\" FROM \"CollectRuns\" WHERE \"Node\" = ?").arg(column));
        query.addBindValue(node);
        if (!query.exec())
            return;
        while (query.next())
            values << (query.value(0).isNull() ? QStringLiteral("NULL") : query.value(0).toString());
    });
    values.sort();
    return values;
}

QStringList CollectRunRows(const DatabaseTarget& target)
{
    QStringList rows;
    WithDatabase(target, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT \"Node\", \"Serial\", \"Written\", \"AlreadyThere\", \"Error\" FROM "
                                       "\"CollectRuns\" ORDER BY \"Finished\"")))
            return;
        while (query.next())
            rows << QStringLiteral("%1|%2|%3|%4|%5")
                        .arg(query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                             query.value(3).toString(), query.value(4).toString());
    });
    return rows;
}

void PostgresqlCollect::SetUp()
{
    OwnPostgresqlDatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    text = QStringLiteral("postgresql://%1:%2@%3:%4/%5")
               .arg(target.user, target.password, target.host)
               .arg(target.port)
               .arg(target.database);
}

void PostgresqlCollect::DropConnections()
{
    QVariant ended;
    QString error;
    ASSERT_TRUE(server.Query(QStringLiteral("postgres"),
                             QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                                            "WHERE datname = '%1'")
                                 .arg(target.database),
                             &ended, &error))
        << error.toStdString();
}

void PostgresqlCollect::AsSuperuser(const QString& sql)
{
    QVariant ignored;
    QString error;
    ASSERT_TRUE(server.Query(target.database, sql, &ignored, &error)) << error.toStdString();
}
