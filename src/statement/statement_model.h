#pragma once
// The month's statement of one meter ("Ведомость учета параметров теплопотребления"): what every format
// shows, made once from the meter's own records so the PDF, the workbook, the CSV and the HTML hold the
// same numbers. A section per thermal input: a row per day (daily archive) or per hour (hourly archive),
// "Итого", the totals archive's integrators at both ends of the period beside the column sums, the hours
// with and without data and the НС times. A date the records lack is a row "нет данных", never zeros.

#include "archives/archive_records.h"
#include "meter/archive_descriptors.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

struct RangeRecord;

inline constexpr const char* kStatementTitle = "Ведомость учета параметров теплопотребления";
inline constexpr const char* kNoDataText = "нет данных";
inline constexpr const char* kTotalRowText = "Итого";

// What the statement is made of: the records found for the period and what is known of the meter.
struct StatementSource {
    ArchiveKind kind = kArchiveDaily;  // daily or hourly
    TChronoArch from{};                // first day (hourly: and hour)
    TChronoArch to{};                  // last day (hourly: and hour), both included
    std::optional<int> input;          // 0 or 1; empty: every input in use
    std::uint32_t serial = 0;
    QString model;                       // "04"; empty when only the database was asked
    QString version;                     // "АВ 1.0 ПВ 5.17"; empty likewise
    std::optional<unsigned> unitSystem;  // of pressures; empty: MPa, as the records hold them
    QString nodeName, nodeAddress, nodeNote;
    std::vector<RangeRecord> records;  // of `kind`, oldest first
    std::vector<TotalsRecord> totals;  // of the totals archive, from the day before `from`, oldest first
    QString madeDate;                  // "ДД.ММ.ГГГГ"
};

struct StatementColumn {
    QString head;  // "Q", "M1", "t1−t2", "ВНР"
    QString unit;  // "Гкал", "т", "°C", "МПа", "ч"
    int decimals = 3;
};

struct StatementRow {
    TChronoArch date{};          // the day (daily: hour of the record) or the hour
    bool missing = false;        // no record: every value NaN
    std::vector<double> values;  // one per column
    QString marks;               // "Vmin dt"
};

// One integrator of the totals archive beside its column's sum.
struct StatementIntegrator {
    QString head;  // as the column's
    QString unit;
    int decimals = 3;
    std::optional<double> start, end;  // the readings; empty when the totals record is missing
    std::optional<double> difference;  // end - start (a wrapped hour counter counted on)
    double rows = 0;                   // the column's sum over the rows the two readings span
    // The difference and the rows' sum differ by more than the last printed digit.
    bool differs = false;
};

struct StatementLine {
    QString label;
    QString value;
};

struct StatementSection {
    int input = 0;
    QString name;  // "ТВ1"
    QStringList about;  // "Схема измерения: 1 (Открытая)", "База данных: БД1", "Давление: МПа"
    std::vector<StatementColumn> columns;
    std::vector<StatementRow> rows;
    std::vector<double> total;  // per column: sums, averages (NaN when no row has data)
    std::vector<StatementIntegrator> integrators;
    std::vector<StatementLine> hours;  // "Часов с данными", ..., "НС Vmin", ...
    QStringList missingDates;          // "ДД.ММ.ГГГГ" or "ДД.ММ.ГГГГ ЧЧ:00"
};

struct Statement {
    QString title;        // kStatementTitle
    QString subtitle;     // "суточная, за период с 01.11.2026 по 30.11.2026"
    QStringList heading;  // node and meter lines
    ArchiveKind kind = kArchiveDaily;
    std::vector<StatementSection> sections;
    QStringList legend;
    QString madeDate;
    QStringList signatures;  // "Представитель потребителя", ...

    // Every missing date of every section, each once, in order.
    QStringList MissingDates() const;
};

Statement BuildStatement(const StatementSource& source);

// "01.11.2026" or "01.11.2026 13:00", as rows and stderr name dates.
QString StatementDateText(ArchiveKind kind, const TChronoArch& date);
