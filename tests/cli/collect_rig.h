#pragma once
// A work folder for collector runs: a node base of simulated meters (TCP lines and pseudo-terminals,
// the latter under COM numbers of the settings' port table) and the archive database they go into,
// with the queries the collector tests ask of it.

#include "archives/database_target.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>

class CollectRig {
public:
    CollectRig();

    // A node on a TCP line ("127.0.0.1:PORT") or a pseudo-terminal (its path), at the meter's address.
    void AddTcpNode(const QString& name, const QString& place, int address = 1, int attempts = 2);
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

// Answers of the database (a connection of its own, closed again).
struct TableCounts {
    qint64 rows = 0;
    qint64 distinctDates = 0;  // rows with different dates: equal to rows when nothing is duplicated
    qint64 spanHours = 0;      // hours from the first row to the last, plus one
};
TableCounts CountRows(const DatabaseTarget& target, const QString& table, std::uint32_t serial);
// The CollectRuns rows as "Node|Serial|Written|AlreadyThere|Error", in the order they were written.
QStringList CollectRunRows(const DatabaseTarget& target);
