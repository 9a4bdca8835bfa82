#include "archives/database_columns.h"

#include "archives/current_values.h"

#include <cstring>
#include <utility>

namespace {

// Input n (0, 1): ta_1, ta_2.
QString InputSuffix(int input)
{
    return QStringLiteral("_%1").arg(input + 1);
}

class ColumnList {
public:
    explicit ColumnList(std::size_t expected) { m_columns.reserve(expected); }

    void Add(const QString& name, ColumnSource source, std::size_t offset = 0)
    {
        m_columns.push_back(ArchiveColumn{name, source, offset});
    }

    // One column per pipe; the field sits at `first` in pipe 0 and every `stride` bytes after.
    void AddPipes(const char* prefix, ColumnSource source, std::size_t first, std::size_t stride)
    {
        for (int pipe = 0; pipe < kArchivePipeCount; ++pipe)
            Add(QLatin1String(prefix) + PipeColumnSuffix(pipe), source,
                first + static_cast<std::size_t>(pipe) * stride);
    }

    void AddInputs(const char* prefix, ColumnSource source, std::size_t first, std::size_t stride)
    {
        for (int input = 0; input < kArchiveInputCount; ++input)
            Add(QLatin1String(prefix) + InputSuffix(input), source, first + static_cast<std::size_t>(input) * stride);
    }

    std::vector<ArchiveColumn> Take() { return std::move(m_columns); }

private:
    std::vector<ArchiveColumn> m_columns;
};

std::vector<ArchiveColumn> BuildValueArchiveColumns()
{
    using R = ArchiveRecord;
    using Pipe = ArchivePipeValues;
    using Input = ArchiveInputValues;
    const std::size_t pipes = offsetof(R, pipes);
    const std::size_t inputs = offsetof(R, inputs);
    const std::size_t schemes = offsetof(R, schemes);
    constexpr std::size_t kPipeStride = sizeof(Pipe);
    constexpr std::size_t kInputStride = sizeof(Input);
    constexpr std::size_t kSchemeStride = sizeof(InputScheme);

    ColumnList list(69);
    list.Add(QStringLiteral("Serial"), ColumnSource::Serial);
    list.Add(QStringLiteral("Date"), ColumnSource::Date);
    list.AddPipes("t", ColumnSource::Float, pipes + offsetof(Pipe, t), kPipeStride);
    list.AddPipes("P", ColumnSource::Float, pipes + offsetof(Pipe, P), kPipeStride);
    list.AddPipes("V", ColumnSource::Float, pipes + offsetof(Pipe, V), kPipeStride);
    list.AddPipes("M", ColumnSource::Float, pipes + offsetof(Pipe, M), kPipeStride);
    list.AddPipes("Pipe_Ns", ColumnSource::U8, offsetof(R, pipeFlags), 1);
    list.AddInputs("ta", ColumnSource::Float, inputs + offsetof(Input, tnv), kInputStride);
    list.AddInputs("tx", ColumnSource::Float, inputs + offsetof(Input, tx), kInputStride);
    list.AddInputs("Px", ColumnSource::Float, inputs + offsetof(Input, Px), kInputStride);
    list.AddInputs("dT", ColumnSource::Float, inputs + offsetof(Input, dt), kInputStride);
    list.AddInputs("dM", ColumnSource::Float, inputs + offsetof(Input, dM), kInputStride);
    list.AddInputs("Qwi", ColumnSource::Float, inputs + offsetof(Input, Qtv), kInputStride);
    list.AddInputs("Qo", ColumnSource::Float, inputs + offsetof(Input, Q12), kInputStride);
    list.AddInputs("Qg", ColumnSource::Float, inputs + offsetof(Input, Qg), kInputStride);
    list.AddInputs("VNR", ColumnSource::U16, inputs + offsetof(Input, VNR), kInputStride);
    list.AddInputs("VOS", ColumnSource::U16, inputs + offsetof(Input, VOS), kInputStride);
    list.AddInputs("Wi_Ns", ColumnSource::U16, offsetof(R, inputFlags), sizeof(std::uint16_t));
    list.AddInputs("SI", ColumnSource::U8, schemes + offsetof(InputScheme, si), kSchemeStride);
    list.AddInputs("KT3", ColumnSource::U8, schemes + offsetof(InputScheme, kt3), kSchemeStride);
    list.AddInputs("FT", ColumnSource::U8, schemes + offsetof(InputScheme, frt), kSchemeStride);
    list.Add(QStringLiteral("DP"), ColumnSource::Float, offsetof(R, dp));
    list.Add(QStringLiteral("DP_Ns"), ColumnSource::U8, offsetof(R, dpFlags));
    list.Add(QStringLiteral("Events"), ColumnSource::U16, offsetof(R, events));
    list.Add(QStringLiteral("AbstractCtrl"), ColumnSource::U16, offsetof(R, abstractControls));
    list.Add(QStringLiteral("MdbTotalCnt"), ColumnSource::U16, offsetof(R, networkMinutesWithoutPower));
    list.Add(QStringLiteral("DsplCnt"), ColumnSource::U16, offsetof(R, displayMinutesWithoutPower));
    list.Add(QStringLiteral("NoPwrCnt"), ColumnSource::U16, offsetof(R, minutesPowerOff));
    list.Add(QStringLiteral("ActiveBd"), ColumnSource::U8, offsetof(R, activeSet));
    list.Add(QStringLiteral("ResBits"), ColumnSource::NotFilled);
    return list.Take();
}

// The totals' columns with their body at `body`: after the 4-byte date in the archive form, after the
// 6-byte stamp in the current totals.
std::vector<ArchiveColumn> BuildTotalsColumns(std::size_t body)
{
    using Pipe = TotalsPipeValues;
    using Input = TotalsInputValues;
    const std::size_t pipes = body + offsetof(TotalsBody, pipes);
    const std::size_t inputs = body + offsetof(TotalsBody, inputs);
    const std::size_t schemes = body + offsetof(TotalsBody, schemes);
    constexpr std::size_t kPipeStride = sizeof(Pipe);
    constexpr std::size_t kInputStride = sizeof(Input);
    constexpr std::size_t kSchemeStride = sizeof(InputScheme);

    ColumnList list(46);
    list.Add(QStringLiteral("Serial"), ColumnSource::Serial);
    list.Add(QStringLiteral("Date"), ColumnSource::Date);
    list.AddPipes("V", ColumnSource::Double, pipes + offsetof(Pipe, V), kPipeStride);
    list.AddPipes("M", ColumnSource::Double, pipes + offsetof(Pipe, M), kPipeStride);
    list.AddInputs("dM", ColumnSource::Double, inputs + offsetof(Input, dM), kInputStride);
    list.AddInputs("Qwi", ColumnSource::Double, inputs + offsetof(Input, Qtv), kInputStride);
    list.AddInputs("Qo", ColumnSource::Double, inputs + offsetof(Input, Q12), kInputStride);
    list.AddInputs("Qg", ColumnSource::Double, inputs + offsetof(Input, Qg), kInputStride);
    list.AddInputs("VNR", ColumnSource::U16, inputs + offsetof(Input, VNR), kInputStride);
    list.AddInputs("VOS", ColumnSource::U16, inputs + offsetof(Input, VOS), kInputStride);
    list.AddInputs("TVmin", ColumnSource::U16, inputs + offsetof(Input, vMinTime), kInputStride);
    list.AddInputs("TVmax", ColumnSource::U16, inputs + offsetof(Input, vMaxTime), kInputStride);
    list.AddInputs("Tdt", ColumnSource::U16, inputs + offsetof(Input, dtTime), kInputStride);
    list.AddInputs("Tnopwr", ColumnSource::U16, inputs + offsetof(Input, powerOffTime), kInputStride);
    list.AddInputs("SI", ColumnSource::U8, schemes + offsetof(InputScheme, si), kSchemeStride);
    list.AddInputs("KT3", ColumnSource::U8, schemes + offsetof(InputScheme, kt3), kSchemeStride);
    list.AddInputs("FT", ColumnSource::U8, schemes + offsetof(InputScheme, frt), kSchemeStride);
    list.Add(QStringLiteral("DP"), ColumnSource::Double, body + offsetof(TotalsBody, dp));
    list.Add(QStringLiteral("MdbTotalCnt"), ColumnSource::U32, body + offsetof(TotalsBody, networkMinutesWithoutPower));
    list.Add(QStringLiteral("DsplCnt"), ColumnSource::U32, body + offsetof(TotalsBody, displayMinutesWithoutPower));
    list.Add(QStringLiteral("NoPwrCnt"), ColumnSource::U32, body + offsetof(TotalsBody, minutesPowerOff));
    list.Add(QStringLiteral("ActiveBd"), ColumnSource::U8, body + offsetof(TotalsBody, activeSet));
    list.Add(QStringLiteral("ResBits"), ColumnSource::NotFilled);
    return list.Take();
}

// The current values in the archive tables' names where a table has the quantity.
std::vector<ArchiveColumn> BuildCurrentValueColumns()
{
    using R = CurrentValues;
    constexpr std::size_t kFloat = sizeof(float);
    ColumnList list(63);
    list.Add(QStringLiteral("Serial"), ColumnSource::Serial);
    list.Add(QStringLiteral("Date"), ColumnSource::Date);
    // Singles of each pipe, then of each input, in the order of the area.
    using Run = std::pair<const char*, std::size_t>;
    for (const Run& run : {Run{"t", offsetof(R, t)}, Run{"P", offsetof(R, P)}, Run{"Go", offsetof(R, Go)},
                           Run{"Gm", offsetof(R, Gm)}, Run{"Phi", offsetof(R, pipePhi)}, Run{"h", offsetof(R, h)}})
        list.AddPipes(run.first, ColumnSource::Float, run.second, kFloat);
    list.AddPipes("Pipe_Ns", ColumnSource::U8, offsetof(R, pipeFlags), 1);
    for (const Run& run : {Run{"Phi", offsetof(R, inputPhi)}, Run{"hx", offsetof(R, hx)}, Run{"ta", offsetof(R, tnv)},
                           Run{"tx", offsetof(R, tx)}, Run{"Px", offsetof(R, Px)}, Run{"dT", offsetof(R, dt)}})
        list.AddInputs(run.first, ColumnSource::Float, run.second, kFloat);
    list.AddInputs("Wi_Ns", ColumnSource::U16, offsetof(R, inputFlags), sizeof(std::uint16_t));
    list.Add(QStringLiteral("DP"), ColumnSource::Float, offsetof(R, dp));
    list.Add(QStringLiteral("DP_Ns"), ColumnSource::U8, offsetof(R, dpFlags));
    list.Add(QStringLiteral("Events"), ColumnSource::U16, offsetof(R, events));
    list.Add(QStringLiteral("AbstractCtrl"), ColumnSource::U16, offsetof(R, abstractControls));
    list.Add(QStringLiteral("ActiveBd"), ColumnSource::U8, offsetof(R, activeSet));
    return list.Take();
}

}  // namespace

QString PipeColumnSuffix(int pipe)
{
    return QStringLiteral("%1_%2").arg(pipe / kPipesPerInput + 1).arg(pipe % kPipesPerInput + 1);
}

namespace {

template <class T>
bool ReadField(std::span<const std::uint8_t> record, std::size_t offset, T& value)
{
    if (offset > record.size() || record.size() - offset < sizeof(T))
        return false;
    std::memcpy(&value, record.data() + offset, sizeof(T));
    return true;
}

template <class T, class Result>
QVariant FieldAs(std::span<const std::uint8_t> record, std::size_t offset)
{
    T value{};
    if (!ReadField(record, offset, value))
        return QVariant();
    return QVariant::fromValue(static_cast<Result>(value));
}

template <class Record>
std::span<const std::uint8_t> BytesOf(const Record& record)
{
    return std::span(reinterpret_cast<const std::uint8_t*>(&record), sizeof(Record));
}

}  // namespace

const std::vector<ArchiveColumn>& ValueArchiveColumns()
{
    static const std::vector<ArchiveColumn> columns = BuildValueArchiveColumns();
    return columns;
}

const std::vector<ArchiveColumn>& TotalsArchiveColumns()
{
    static const std::vector<ArchiveColumn> columns = BuildTotalsColumns(offsetof(TotalsRecord, body));
    return columns;
}

const std::vector<ArchiveColumn>& CurrentColumns(bool totals)
{
    static const std::vector<ArchiveColumn> values = BuildCurrentValueColumns();
    static const std::vector<ArchiveColumn> currentTotals = BuildTotalsColumns(offsetof(CurrentTotalsRecord, body));
    return totals ? currentTotals : values;
}

const std::vector<ArchiveColumn>& ColumnsOf(ArchiveKind kind)
{
    return kind == kArchiveTotals ? TotalsArchiveColumns() : ValueArchiveColumns();
}

QString ArchiveTableName(ArchiveKind kind)
{
    switch (kind) {
        case kArchiveHourly:
            return QStringLiteral("ZT5_Arch_Values_Hour");
        case kArchiveDaily:
            return QStringLiteral("ZT5_Arch_Values_Day");
        case kArchiveMonthly:
            return QStringLiteral("ZT5_Arch_Values_Month");
        case kArchiveTotals:
            return QStringLiteral("ZT5_Arch_Values_Itog");
        default:
            return QString();
    }
}

QVariant ColumnValue(const ArchiveColumn& column, std::span<const std::uint8_t> record)
{
    switch (column.source) {
        case ColumnSource::Float:
            return FieldAs<float, double>(record, column.offset);
        case ColumnSource::Double:
            return FieldAs<double, double>(record, column.offset);
        case ColumnSource::U8:
            return FieldAs<std::uint8_t, uint>(record, column.offset);
        case ColumnSource::U16:
            return FieldAs<std::uint16_t, uint>(record, column.offset);
        case ColumnSource::U32:
            return FieldAs<std::uint32_t, uint>(record, column.offset);
        case ColumnSource::Serial:
        case ColumnSource::Date:
        case ColumnSource::NotFilled:
            break;
    }
    return QVariant();
}

QVariant ColumnValue(const ArchiveColumn& column, const ArchiveRecord& record)
{
    return ColumnValue(column, BytesOf(record));
}

QVariant ColumnValue(const ArchiveColumn& column, const TotalsRecord& record)
{
    return ColumnValue(column, BytesOf(record));
}
