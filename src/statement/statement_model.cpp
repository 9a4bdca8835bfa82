#include "statement/statement_model.h"

#include "archives/archive_range.h"
#include "config/scheme_labels.h"
#include "config/tunes_record.h"
#include "statement/statement_columns.h"

#include <cmath>
#include <limits>
#include <map>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kHoursPerDay = 24;
constexpr int kCounterWrap = 65536;

std::int32_t KeyOf(const TChronoArch& date)
{
    return HourDifference(date, TChronoArch{1, 1, 0, 0});
}

// Daily rows are told apart by the day, hourly ones by the hour.
std::int32_t RowKey(ArchiveKind kind, const TChronoArch& date)
{
    return kind == kArchiveDaily ? DayNumber(date) : KeyOf(date);
}

QString DayText(const TChronoArch& date)
{
    return QStringLiteral("%1.%2.%3")
        .arg(date.day, 2, 10, QLatin1Char('0'))
        .arg(date.month, 2, 10, QLatin1Char('0'))
        .arg(2000 + date.year);
}

// The inputs a section is made for: the one asked, or those the records have a scheme on.
std::vector<int> InputsOf(const StatementSource& source)
{
    if (source.input)
        return {*source.input};
    std::vector<int> inputs;
    for (int n = 0; n < kArchiveInputCount; ++n) {
        for (const RangeRecord& record : source.records) {
            if (record.record.schemes[n].si != 0) {
                inputs.push_back(n);
                break;
            }
        }
    }
    return inputs.empty() ? std::vector<int>{0} : inputs;
}

// The records by row, one per row the period has; a missing one stays null.
std::vector<StatementRow> RowsOf(const StatementSource& source, std::vector<const ArchiveRecord*>* found)
{
    std::map<std::int32_t, const ArchiveRecord*> byKey;
    std::uint8_t recordHour = 0;
    for (const RangeRecord& record : source.records) {
        byKey[RowKey(source.kind, record.date)] = &record.record;
        recordHour = record.date.hour;
    }
    std::vector<StatementRow> rows;
    const int step = source.kind == kArchiveDaily ? kHoursPerDay : 1;
    TChronoArch date = source.from;
    if (source.kind == kArchiveDaily)
        date.hour = recordHour;
    auto inPeriod = [&source](const TChronoArch& day) {
        return source.kind == kArchiveDaily ? DayNumber(day) <= DayNumber(source.to)
                                            : HourDifference(source.to, day) >= 0;
    };
    for (; inPeriod(date); date = step == 1 ? NextHour(date) : NextDay(date)) {
        const auto it = byKey.find(RowKey(source.kind, date));
        StatementRow row;
        row.date = it != byKey.end() ? it->second->date : date;
        row.missing = it == byKey.end();
        rows.push_back(row);
        found->push_back(row.missing ? nullptr : it->second);
    }
    return rows;
}

const TotalsRecord* LatestTotals(const std::vector<TotalsRecord>& totals, std::int32_t key)
{
    const TotalsRecord* latest = nullptr;
    for (const TotalsRecord& record : totals) {
        if (KeyOf(record.date) <= key)
            latest = &record;
    }
    return latest;
}

double TotalOf(const ColumnRule& rule, const std::vector<const ArchiveRecord*>& records)
{
    double sum = 0;
    double weights = 0;
    int count = 0;
    for (const ArchiveRecord* record : records) {
        const double value = record ? rule.value(*record) : kNaN;
        if (!std::isfinite(value))
            continue;
        const double weight = rule.total == ColumnTotal::kMassWeighted ? double(record->pipes[rule.weightPipe].M)
                                                                       : double(record->inputs[rule.timeInput].VNR);
        sum += rule.total == ColumnTotal::kSum ? value : value * weight;
        weights += weight;
        ++count;
    }
    if (count == 0)
        return kNaN;
    if (rule.total == ColumnTotal::kSum)
        return sum;
    return weights > 0 ? sum / weights : kNaN;
}

void AddIntegrators(const StatementSource& source, const std::vector<ColumnRule>& rules,
                    const std::vector<StatementRow>& rows, const std::vector<const ArchiveRecord*>& records,
                    StatementSection* section)
{
    const int step = source.kind == kArchiveDaily ? kHoursPerDay : 1;
    const TotalsRecord* start = rows.empty() ? nullptr : LatestTotals(source.totals, KeyOf(rows.front().date) - step);
    const TotalsRecord* end = rows.empty() ? nullptr : LatestTotals(source.totals, KeyOf(rows.back().date));
    if (start && end && KeyOf(start->date) >= KeyOf(end->date))
        start = nullptr;
    for (const ColumnRule& rule : rules) {
        if (!rule.integrator)
            continue;
        StatementIntegrator line{
            rule.column.head, rule.column.unit, rule.wraps ? 0 : rule.column.decimals, {}, {}, {}, 0, false};
        if (start)
            line.start = rule.integrator(start->body);
        if (end)
            line.end = rule.integrator(end->body);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::int32_t key = KeyOf(rows[i].date);
            if (records[i] && start && end && key > KeyOf(start->date) && key <= KeyOf(end->date))
                line.rows += rule.value(*records[i]);
        }
        if (line.start && line.end) {
            double difference = *line.end - *line.start;
            if (rule.wraps && difference < 0)
                difference += kCounterWrap;
            line.difference = difference;
            line.differs = std::fabs(difference - line.rows) > std::pow(10.0, -line.decimals) + 1e-9;
        }
        section->integrators.push_back(line);
    }
    const int n = section->input;
    auto counter = [&](const char* label, std::uint16_t TotalsInputValues::*field) {
        QString value = QString::fromUtf8(kNoDataText);
        if (start && end)
            value = QString::number(((end->body.inputs[n].*field - start->body.inputs[n].*field) + kCounterWrap)
                                    % kCounterWrap);
        section->hours.push_back({QString::fromUtf8(label), value});
    };
    counter("НС Vmin, ч", &TotalsInputValues::vMinTime);
    counter("НС Vmax, ч", &TotalsInputValues::vMaxTime);
    counter("НС dt, ч", &TotalsInputValues::dtTime);
    counter("НС отк.пит., ч", &TotalsInputValues::powerOffTime);
}

StatementSection SectionOf(const StatementSource& source, int input)
{
    StatementSection section;
    section.input = input;
    section.name = QStringLiteral("ТВ%1").arg(input + 1);
    std::vector<const ArchiveRecord*> records;
    section.rows = RowsOf(source, &records);
    int scheme = 0;
    QStringList sets;
    for (const ArchiveRecord* record : records) {
        if (!record)
            continue;
        scheme = record->schemes[input].si;
        const QString set = QStringLiteral("БД%1").arg(record->activeSet + 1);
        if (!sets.contains(set))
            sets << set;
    }
    const std::vector<ColumnRule> rules = StatementColumns(input, scheme, source.unitSystem);
    for (const ColumnRule& rule : rules) {
        section.columns.push_back(rule.column);
        section.total.push_back(TotalOf(rule, records));
    }
    int withData = 0;
    for (std::size_t i = 0; i < section.rows.size(); ++i) {
        StatementRow& row = section.rows[i];
        for (const ColumnRule& rule : rules)
            row.values.push_back(records[i] ? rule.value(*records[i]) : kNaN);
        if (records[i]) {
            row.marks = StatementMarks(*records[i], input);
            ++withData;
        } else {
            section.missingDates << StatementDateText(source.kind, row.date);
        }
    }
    const QString group = SchemeGroupName(scheme);
    section.about << QStringLiteral("Схема измерения: %1%2")
                         .arg(scheme)
                         .arg(group.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(group));
    section.about
        << QStringLiteral("База данных: %1").arg(sets.isEmpty() ? QString::fromUtf8(kNoDataText) : sets.join(u", "));
    section.about << QStringLiteral("Единицы давления: %1")
                         .arg(source.unitSystem && *source.unitSystem == kUnitSystemMks
                                  ? QStringLiteral("кгс/см² (МКС)")
                                  : QStringLiteral("МПа (СИ)"));
    const int perRow = source.kind == kArchiveDaily ? kHoursPerDay : 1;
    const int without = int(section.rows.size()) - withData;
    section.hours.push_back({QStringLiteral("Часов в периоде"), QString::number(int(section.rows.size()) * perRow)});
    section.hours.push_back({QStringLiteral("Часов с данными"), QString::number(withData * perRow)});
    section.hours.push_back({QStringLiteral("Часов без данных"), QString::number(without * perRow)});
    AddIntegrators(source, rules, section.rows, records, &section);
    return section;
}

}  // namespace

QString StatementDateText(ArchiveKind kind, const TChronoArch& date)
{
    if (kind == kArchiveDaily)
        return DayText(date);
    return QStringLiteral("%1 %2:00").arg(DayText(date)).arg(date.hour, 2, 10, QLatin1Char('0'));
}

QStringList Statement::MissingDates() const
{
    QStringList dates;
    for (const StatementSection& section : sections) {
        for (const QString& date : section.missingDates) {
            if (!dates.contains(date))
                dates << date;
        }
    }
    return dates;
}

Statement BuildStatement(const StatementSource& source)
{
    Statement statement;
    statement.kind = source.kind;
    statement.title = QString::fromUtf8(kStatementTitle);
    statement.subtitle = QStringLiteral("%1, за период с %2 по %3")
                             .arg(source.kind == kArchiveDaily ? QStringLiteral("суточная") : QStringLiteral("часовая"),
                                  DayText(source.from), DayText(source.to));
    statement.heading
        << QStringLiteral("Узел учета: %1").arg(source.nodeName.isEmpty() ? QStringLiteral("—") : source.nodeName);
    statement.heading
        << QStringLiteral("Адрес: %1").arg(source.nodeAddress.isEmpty() ? QStringLiteral("—") : source.nodeAddress);
    if (!source.nodeNote.isEmpty())
        statement.heading << QStringLiteral("Примечание: %1").arg(source.nodeNote);
    QString meter = QStringLiteral("Тепловычислитель ЗТ5");
    if (!source.model.isEmpty())
        meter += QStringLiteral("-%1").arg(source.model);
    meter += QStringLiteral(", зав.N %1").arg(source.serial);
    if (!source.version.isEmpty())
        meter += QStringLiteral(", %1").arg(source.version);
    statement.heading << meter;
    for (int input : InputsOf(source))
        statement.sections.push_back(SectionOf(source, input));
    statement.legend = StatementLegend();
    statement.madeDate = source.madeDate;
    statement.signatures << QStringLiteral("Представитель потребителя")
                         << QStringLiteral("Представитель теплоснабжающей организации");
    return statement;
}
