#include "statement/statement_columns.h"

#include "archives/flag_markers.h"
#include "config/pressure_units.h"
#include "config/scheme_table.h"

namespace {

constexpr double kMinutesPerHour = 60.0;

// Whether the input's pipe (0, 1) is measured for `mask` (a scheme mask); an unknown scheme has both.
bool Uses(const SchemeEntry* scheme, std::uint8_t SchemeEntry::*mask, int pipe)
{
    return !scheme || scheme->rows.empty() || scheme->Measures(scheme->*mask, pipe);
}

struct MarkCode {
    const char* code;
    const char* meaning;
};

constexpr MarkCode kMarkCodes[] = {
    {"Vmin", "расход ниже минимального"},
    {"Vmax", "расход выше максимального"},
    {"dt", "разность температур ниже минимальной"},
    {"tн", "неисправность датчика температуры"},
    {"пит", "отключение питания"},
};

bool PipeFlag(const ArchiveRecord& record, int input, FlaggedQuantity quantity, int position)
{
    const int bit = MarkerBit(quantity, position);
    for (int k = 0; k < kPipesPerInput; ++k) {
        if (bit >= 0 && (record.pipeFlags[input * kPipesPerInput + k] & (1u << bit)))
            return true;
    }
    return false;
}

using Value = std::function<double(const ArchiveRecord&)>;
using Integrator = std::function<double(const TotalsBody&)>;

ColumnRule Rule(StatementColumn column, ColumnTotal total, Value value, int weightPipe = -1, Integrator integrator = {},
                bool wraps = false)
{
    return ColumnRule{std::move(column), total, std::move(value), weightPipe, std::move(integrator), wraps, 0};
}

}  // namespace

std::vector<ColumnRule> StatementColumns(int input, int scheme, std::optional<unsigned> unitSystem)
{
    const SchemeEntry* entry = SchemeAt(scheme);
    const int a = input * kPipesPerInput;
    const int b = a + 1;
    const bool mks = unitSystem && *unitSystem == kUnitSystemMks;
    const QString pressureUnit = mks ? QStringLiteral("кгс/см²") : QStringLiteral("МПа");
    const int pressureDecimals = mks ? 2 : 3;
    const unsigned system = unitSystem.value_or(kUnitSystemSi);
    const bool mass1 = Uses(entry, &SchemeEntry::volumeMask, 0);
    const bool mass2 = Uses(entry, &SchemeEntry::volumeMask, 1);
    const bool t1 = Uses(entry, &SchemeEntry::temperatureMask, 0);
    const bool t2 = Uses(entry, &SchemeEntry::temperatureMask, 1);
    std::vector<ColumnRule> rules;
    auto add = [&rules](bool used, ColumnRule rule) {
        if (used)
            rules.push_back(std::move(rule));
    };
    const QString t = QStringLiteral("т");
    const QString m3 = QStringLiteral("м³");
    const QString degrees = QStringLiteral("°C");
    add(true,
        Rule(
            {QStringLiteral("Q"), QStringLiteral("Гкал"), 3}, ColumnTotal::kSum,
            [input](const ArchiveRecord& r) { return double(r.inputs[input].Qtv); }, -1,
            [input](const TotalsBody& body) { return body.inputs[input].Qtv; }));
    add(mass1,
        Rule(
            {QStringLiteral("M1"), t, 3}, ColumnTotal::kSum,
            [a](const ArchiveRecord& r) { return double(r.pipes[a].M); }, -1,
            [a](const TotalsBody& body) { return body.pipes[a].M; }));
    add(mass2,
        Rule(
            {QStringLiteral("M2"), t, 3}, ColumnTotal::kSum,
            [b](const ArchiveRecord& r) { return double(r.pipes[b].M); }, -1,
            [b](const TotalsBody& body) { return body.pipes[b].M; }));
    add(mass1 && mass2,
        Rule(
            {QStringLiteral("M1−M2"), t, 3}, ColumnTotal::kSum,
            [input](const ArchiveRecord& r) { return double(r.inputs[input].dM); }, -1,
            [input](const TotalsBody& body) { return body.inputs[input].dM; }));
    add(mass1,
        Rule(
            {QStringLiteral("V1"), m3, 3}, ColumnTotal::kSum,
            [a](const ArchiveRecord& r) { return double(r.pipes[a].V); }, -1,
            [a](const TotalsBody& body) { return body.pipes[a].V; }));
    add(mass2,
        Rule(
            {QStringLiteral("V2"), m3, 3}, ColumnTotal::kSum,
            [b](const ArchiveRecord& r) { return double(r.pipes[b].V); }, -1,
            [b](const TotalsBody& body) { return body.pipes[b].V; }));
    add(t1,
        Rule(
            {QStringLiteral("t1"), degrees, 2}, ColumnTotal::kMassWeighted,
            [a](const ArchiveRecord& r) { return double(r.pipes[a].t); }, a));
    add(t2,
        Rule(
            {QStringLiteral("t2"), degrees, 2}, ColumnTotal::kMassWeighted,
            [b](const ArchiveRecord& r) { return double(r.pipes[b].t); }, b));
    add(t1 && t2,
        Rule(
            {QStringLiteral("t1−t2"), degrees, 2}, ColumnTotal::kMassWeighted,
            [input](const ArchiveRecord& r) { return double(r.inputs[input].dt); }, a));
    for (int k : {0, 1}) {
        const int pipe = a + k;
        add(Uses(entry, &SchemeEntry::pressureMask, k),
            Rule({QStringLiteral("P%1").arg(k + 1), pressureUnit, pressureDecimals}, ColumnTotal::kAverage,
                 [pipe, system](const ArchiveRecord& r) { return PressureToDisplay(r.pipes[pipe].P, system); }));
        if (!rules.empty() && rules.back().total == ColumnTotal::kAverage)
            rules.back().timeInput = input;
    }
    rules.push_back(Rule(
        {QStringLiteral("ВНР"), QStringLiteral("ч"), 2}, ColumnTotal::kSum,
        [input](const ArchiveRecord& r) { return r.inputs[input].VNR / kMinutesPerHour; }, -1,
        [input](const TotalsBody& body) { return double(body.inputs[input].VNR); }, true));
    rules.push_back(Rule(
        {QStringLiteral("ВОС"), QStringLiteral("ч"), 2}, ColumnTotal::kSum,
        [input](const ArchiveRecord& r) { return r.inputs[input].VOS / kMinutesPerHour; }, -1,
        [input](const TotalsBody& body) { return double(body.inputs[input].VOS); }, true));
    return rules;
}

QString StatementMarks(const ArchiveRecord& record, int input)
{
    const bool set[] = {
        PipeFlag(record, input, FlaggedQuantity::PipeV, 0),
        PipeFlag(record, input, FlaggedQuantity::PipeV, 1),
        (record.inputFlags[input] & (1u << MarkerBit(FlaggedQuantity::InputDt, 0))) != 0,
        PipeFlag(record, input, FlaggedQuantity::PipeT, 2),
        record.minutesPowerOff > 0,
    };
    QStringList codes;
    for (std::size_t i = 0; i < std::size(kMarkCodes); ++i) {
        if (set[i])
            codes << QString::fromUtf8(kMarkCodes[i].code);
    }
    return codes.join(QLatin1Char(' '));
}

QStringList StatementLegend()
{
    QStringList lines;
    for (const MarkCode& mark : kMarkCodes)
        lines << QStringLiteral("%1 — %2").arg(QString::fromUtf8(mark.code), QString::fromUtf8(mark.meaning));
    lines << QStringLiteral("«%1» — записи нет в архиве прибора или ее не удалось прочитать.")
                 .arg(QString::fromUtf8(kNoDataText));
    lines << QStringLiteral(
        "Итого: Q, массы, объемы и часы — суммы; t1 и t1−t2 — средние, взвешенные по M1, "
        "t2 — по M2; давления — средние по времени работы (ВНР).");
    lines << QStringLiteral(
        "Интеграторы — показания архива итогов на начало и конец периода; «≠» — разность "
        "расходится с суммой по строкам больше чем на единицу последнего знака.");
    return lines;
}
