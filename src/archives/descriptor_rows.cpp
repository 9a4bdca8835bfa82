#include "archives/descriptor_rows.h"

namespace {

constexpr int kColumnCount = 7;
const char* const kArchiveNames[kValueArchiveCount] = {"Часовой", "Суточный", "Месячный", "Итоговый"};
const char* const kLogNames[kEventLogCount] = {"Изм.БД", "Адм.событ.", "Диагностик"};

QStringList EmptyRow(const QString& name)
{
    QStringList row(kColumnCount);
    row[0] = name;
    return row;
}

void PutCapacity(QStringList& row, const CapacityEntry& capacity)
{
    row[3] = QString::number(capacity.maxRecords);
    row[4] = QString::number(capacity.writeIndex);
    row[5] = QString::number(capacity.recordSize);
    row[6] = QString::number(capacity.flags & 0x01);
}

}  // namespace

QString ValueArchiveName(int kind)
{
    return IsValueArchive(kind) ? QString::fromUtf8(kArchiveNames[kind]) : QString();
}

QStringList DescriptorColumnTitles()
{
    return {QStringLiteral("Архив"),           QStringLiteral("Дата начала"),     QStringLiteral("Дата конца"),
            QStringLiteral("Макс.число зап."), QStringLiteral("Инд. для записи"), QStringLiteral("Размер записи"),
            QStringLiteral("Пр.закольц.")};
}

QList<QStringList> DescriptorRows(const ArchiveDescriptors& descriptors)
{
    QList<QStringList> rows;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        QStringList row = EmptyRow(QString::fromUtf8(kArchiveNames[kind]));
        if (descriptors.IsEmpty(kind)) {
            row[1] = QStringLiteral("пуст");
        } else {
            row[1] = StampText(descriptors.FirstRecord(kind));
            row[2] = StampText(descriptors.LastRecord(kind));
            PutCapacity(row, descriptors.Capacity(kind));
        }
        rows << row;
    }
    QStringList reset = EmptyRow(QStringLiteral("Дата сброса"));
    reset[1] = StampText(descriptors.dates.resetDate);
    rows << reset << EmptyRow(QString());
    for (int log = 0; log < kEventLogCount; ++log) {
        QStringList row = EmptyRow(QString::fromUtf8(kLogNames[log]));
        PutCapacity(row, descriptors.LogCapacity(log));
        rows << row;
    }
    return rows;
}
