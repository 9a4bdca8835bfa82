#include "watch/watch_quantities.h"

#include "archives/database_columns.h"

#include <charconv>
#include <cstring>

namespace {

class QuantityList {
public:
    void Pipes(const char* key, const char* label, WatchKind kind, bool totals, WatchField field, std::size_t first,
               std::size_t stride)
    {
        for (int pipe = 0; pipe < kArchivePipeCount; ++pipe)
            m_list.push_back({QLatin1String(key) + PipeColumnSuffix(pipe), QLatin1String(key),
                              QString::fromUtf8(label).arg(pipe + 1), kind, totals, field,
                              first + std::size_t(pipe) * stride, pipe, -1});
    }
    void Inputs(const char* key, const char* label, WatchKind kind, bool totals, WatchField field, std::size_t first,
                std::size_t stride)
    {
        for (int input = 0; input < kArchiveInputCount; ++input)
            m_list.push_back({QLatin1String(key) + QStringLiteral("_%1").arg(input + 1), QLatin1String(key),
                              QString::fromUtf8(label).arg(input + 1), kind, totals, field,
                              first + std::size_t(input) * stride, -1, input});
    }
    void One(const char* key, const char* label, WatchKind kind, bool totals, WatchField field, std::size_t offset)
    {
        m_list.push_back(
            {QLatin1String(key), QLatin1String(key), QString::fromUtf8(label), kind, totals, field, offset, -1, -1});
    }
    std::vector<WatchQuantity> Take() { return std::move(m_list); }

private:
    std::vector<WatchQuantity> m_list;
};

std::vector<WatchQuantity> Build()
{
    using V = CurrentValues;
    using K = WatchKind;
    using F = WatchField;
    constexpr std::size_t kFloat = sizeof(float);
    QuantityList list;
    list.Pipes("t", "t%1", K::kTemperature, false, F::kFloat, offsetof(V, t), kFloat);
    list.Pipes("P", "P%1", K::kPressure, false, F::kFloat, offsetof(V, P), kFloat);
    list.Pipes("Gv", "Gо%1", K::kVolumeFlow, false, F::kFloat, offsetof(V, Go), kFloat);
    list.Pipes("Gm", "Gм%1", K::kMassFlow, false, F::kFloat, offsetof(V, Gm), kFloat);
    list.Pipes("Phi", "Ф%1", K::kOther, false, F::kFloat, offsetof(V, pipePhi), kFloat);
    list.Pipes("h", "h%1", K::kOther, false, F::kFloat, offsetof(V, h), kFloat);
    list.Pipes("Pipe_Ns", "НС трубы %1", K::kFlags, false, F::kU8, offsetof(V, pipeFlags), 1);
    list.Inputs("ta", "tнв ТВ%1", K::kTemperature, false, F::kFloat, offsetof(V, tnv), kFloat);
    list.Inputs("tx", "tx ТВ%1", K::kTemperature, false, F::kFloat, offsetof(V, tx), kFloat);
    list.Inputs("Px", "Px ТВ%1", K::kPressure, false, F::kFloat, offsetof(V, Px), kFloat);
    list.Inputs("dT", "dt ТВ%1", K::kTemperature, false, F::kFloat, offsetof(V, dt), kFloat);
    list.Inputs("Phi", "Ф ТВ%1", K::kOther, false, F::kFloat, offsetof(V, inputPhi), kFloat);
    list.Inputs("hx", "hх ТВ%1", K::kOther, false, F::kFloat, offsetof(V, hx), kFloat);
    list.Inputs("Wi_Ns", "НС ТВ%1", K::kFlags, false, F::kU16, offsetof(V, inputFlags), sizeof(std::uint16_t));
    list.One("DP", "ДП", K::kOther, false, F::kFloat, offsetof(V, dp));
    list.One("DP_Ns", "НС ДП", K::kFlags, false, F::kU8, offsetof(V, dpFlags));
    list.One("Events", "События", K::kFlags, false, F::kU16, offsetof(V, events));
    list.One("AbstractCtrl", "Контроли", K::kFlags, false, F::kU16, offsetof(V, abstractControls));

    using T = CurrentTotalsRecord;
    using Pipe = TotalsPipeValues;
    using Input = TotalsInputValues;
    const std::size_t body = offsetof(T, body);
    const std::size_t pipes = body + offsetof(TotalsBody, pipes);
    const std::size_t inputs = body + offsetof(TotalsBody, inputs);
    list.Pipes("V", "V%1", K::kVolume, true, F::kDouble, pipes + offsetof(Pipe, V), sizeof(Pipe));
    list.Pipes("M", "M%1", K::kMass, true, F::kDouble, pipes + offsetof(Pipe, M), sizeof(Pipe));
    list.Inputs("dM", "dM ТВ%1", K::kMassDifference, true, F::kDouble, inputs + offsetof(Input, dM), sizeof(Input));
    list.Inputs("Qwi", "Qтв ТВ%1", K::kHeat, true, F::kDouble, inputs + offsetof(Input, Qtv), sizeof(Input));
    list.Inputs("Qo", "Q12 ТВ%1", K::kHeat, true, F::kDouble, inputs + offsetof(Input, Q12), sizeof(Input));
    list.Inputs("Qg", "Qг ТВ%1", K::kHeat, true, F::kDouble, inputs + offsetof(Input, Qg), sizeof(Input));
    list.Inputs("VNR", "ВНР ТВ%1", K::kHours, true, F::kU16, inputs + offsetof(Input, VNR), sizeof(Input));
    list.Inputs("VOS", "ВОС ТВ%1", K::kHours, true, F::kU16, inputs + offsetof(Input, VOS), sizeof(Input));
    list.One("DP_total", "ДП итог", K::kOther, true, F::kDouble, body + offsetof(TotalsBody, dp));
    return list.Take();
}

template <class T>
double Field(const std::uint8_t* bytes, std::size_t offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return double(value);
}

// A single as the decimal it stands for (70.1, not 70.09999847): the shortest text that reads back
// to the same single, read as a double.
double SingleAsDecimal(const std::uint8_t* bytes, std::size_t offset)
{
    float value;
    std::memcpy(&value, bytes + offset, sizeof value);
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double decimal = value;
    std::from_chars(text, written.ptr, decimal);
    return decimal;
}

}  // namespace

const std::vector<WatchQuantity>& WatchQuantities()
{
    static const std::vector<WatchQuantity> list = Build();
    return list;
}

double WatchValue(const WatchQuantity& quantity, const MeterReading& reading)
{
    const auto* bytes = quantity.fromTotals ? reinterpret_cast<const std::uint8_t*>(&reading.totals)
                                            : reinterpret_cast<const std::uint8_t*>(&reading.values);
    switch (quantity.field) {
        case WatchField::kFloat:
            return SingleAsDecimal(bytes, quantity.offset);
        case WatchField::kDouble:
            return Field<double>(bytes, quantity.offset);
        case WatchField::kU8:
            return Field<std::uint8_t>(bytes, quantity.offset);
        case WatchField::kU16:
            return Field<std::uint16_t>(bytes, quantity.offset);
    }
    return 0;
}

bool IsGrowingTotal(const WatchQuantity& quantity)
{
    return quantity.kind == WatchKind::kVolume || quantity.kind == WatchKind::kMass || quantity.kind == WatchKind::kHeat
        || quantity.kind == WatchKind::kHours;
}
