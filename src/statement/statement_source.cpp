#include "statement/statement_source.h"

#include "archives/archive_database.h"
#include "config/model_capabilities.h"
#include "nodes/node_base.h"
#include "protocol/driver_data.h"

namespace {

constexpr std::uint8_t kLastHour = 23;

QString DatabaseFailureText(ArchiveDatabase& database)
{
    const QString engine = database.LastFailureText();
    return QStringLiteral("Ошибка чтения базы данных (0x%1)%2")
        .arg(database.TakeLastFailure(), 4, 16, QLatin1Char('0'))
        .arg(engine.isEmpty() ? QString() : QStringLiteral(": ") + engine);
}

const char* const kMonthNames[] = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                                   "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};

}  // namespace

ArchiveRange StatementRange(const StatementSource& source)
{
    return {source.kind, source.from, source.to};
}

ArchiveRange StatementTotalsRange(const StatementSource& source)
{
    ArchiveRange range = StatementRange(source);
    range.kind = kArchiveTotals;
    range.from = PreviousDay(range.from);
    range.from.hour = 0;
    range.to.hour = kLastHour;
    return range;
}

bool ReadStatementRecords(const DatabaseTarget& target, StatementSource* source, QString* error)
{
    ArchiveDatabase database;
    if (!database.Open(target)) {
        *error = QStringLiteral("Не удалось открыть базу данных %1: %2")
                     .arg(target.Describe(), database.LastFailureText());
        return false;
    }
    const ArchiveRange range = StatementRange(*source);
    const ArchiveRange totals = StatementTotalsRange(*source);
    source->records.clear();
    source->totals.clear();
    const bool read = database.ReadRange(range.kind, source->serial, range.from, range.to, &source->records)
        && database.ReadTotals(source->serial, totals.from, totals.to, &source->totals);
    if (!read)
        *error = DatabaseFailureText(database);
    database.Close();
    return read;
}

bool StatementSerials(const DatabaseTarget& target, const StatementSource& period, std::vector<std::uint32_t>* serials,
                      QString* error)
{
    ArchiveDatabase database;
    if (!database.Open(target)) {
        *error = QStringLiteral("Не удалось открыть базу данных %1: %2")
                     .arg(target.Describe(), database.LastFailureText());
        return false;
    }
    const ArchiveRange range = StatementRange(period);
    const bool read = database.ReadSerials(range.kind, range.from, range.to, serials);
    if (!read)
        *error = DatabaseFailureText(database);
    database.Close();
    return read;
}

void DescribeMeter(const DriverData& data, StatementSource* source)
{
    source->serial = data.configuration.identity.serialNumber;
    source->model = ModelName(data.configuration.identity.modelIndex);
    source->version = data.versionText;
    source->unitSystem = data.configuration.tunes.UnitSystem();
}

void DescribeNode(const NodeBase& base, StatementSource* source)
{
    for (const NodeEntry& entry : base.Entries()) {
        if (std::uint32_t(entry.record.SerialNumber()) == source->serial) {
            source->nodeName = entry.record.Name();
            source->nodeAddress = entry.record.Address();
            source->nodeNote = entry.record.Note();
            return;
        }
    }
}

QString StatementPeriodName(const StatementSource& source)
{
    const bool wholeMonth = source.from.day == 1 && source.to.month == source.from.month
        && source.to.year == source.from.year && source.to.day == MonthLength(source.to.month, source.to.year);
    if (wholeMonth)
        return QStringLiteral("%1 %2")
            .arg(QString::fromUtf8(kMonthNames[source.from.month - 1]))
            .arg(2000 + source.from.year);
    return QStringLiteral("%1-%2").arg(StatementDateText(kArchiveDaily, source.from),
                                       StatementDateText(kArchiveDaily, source.to));
}

QString StatementFileName(const StatementSource& source, const QString& extension)
{
    const QString input = source.input ? QStringLiteral(" ТВ%1").arg(*source.input + 1) : QString();
    return QStringLiteral("Ведомость%1, зав.N %2, %3.%4")
        .arg(input)
        .arg(source.serial)
        .arg(StatementPeriodName(source), extension);
}
