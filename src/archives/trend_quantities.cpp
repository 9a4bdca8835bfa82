#include "archives/trend_quantities.h"

namespace {

constexpr int kDpMarkerPositions = 2;  // ДП shows "<" and ">" only, as in the reports

// Pipe k (0..5) in the database's naming: input, then place in the input (t1_1 ... t2_3).
QString PipeKey(const char* prefix, int pipe)
{
    return QStringLiteral("%1%2_%3")
        .arg(QLatin1String(prefix))
        .arg(pipe / kPipesPerInput + 1)
        .arg(pipe % kPipesPerInput + 1);
}

// One kind of quantity, repeated for every pipe or every input.
struct QuantityKind {
    const char* prefix;  // of the database column
    const char* label;
    TrendUnit unit;
    FlaggedQuantity flagged;
    int decimals;
};

std::vector<TrendQuantity> BuildQuantities()
{
    static constexpr QuantityKind kPipeKinds[] = {
        {"t", "t", TrendUnit::kTemperature, FlaggedQuantity::PipeT, 3},
        {"P", "P", TrendUnit::kPressure, FlaggedQuantity::PipeP, 5},
        {"V", "V", TrendUnit::kVolume, FlaggedQuantity::PipeV, 5},
        {"M", "M", TrendUnit::kMass, FlaggedQuantity::Unflagged, 5},
    };
    static constexpr QuantityKind kInputKinds[] = {
        {"dT", "dt", TrendUnit::kTemperature, FlaggedQuantity::InputDt, 3},
        {"dM", "dM", TrendUnit::kMass, FlaggedQuantity::InputDm, 5},
        {"Qwi", "Qтв", TrendUnit::kHeat, FlaggedQuantity::InputQtv, 5},
        {"Qo", "Q12", TrendUnit::kHeat, FlaggedQuantity::InputQ12, 5},
        {"Qg", "Qг", TrendUnit::kHeat, FlaggedQuantity::InputQg, 5},
    };
    std::vector<TrendQuantity> list;
    for (const QuantityKind& kind : kPipeKinds) {
        for (int pipe = 0; pipe < kArchivePipeCount; ++pipe)
            list.push_back(TrendQuantity{PipeKey(kind.prefix, pipe),
                                         QString::fromUtf8(kind.label) + QString::number(pipe + 1), kind.unit, pipe, -1,
                                         kind.flagged, kind.decimals});
    }
    for (int input = 0; input < kArchiveInputCount; ++input) {
        for (const QuantityKind& kind : kInputKinds)
            list.push_back(TrendQuantity{QStringLiteral("%1_%2").arg(QLatin1String(kind.prefix)).arg(input + 1),
                                         QStringLiteral("%1 ТВ%2").arg(QString::fromUtf8(kind.label)).arg(input + 1),
                                         kind.unit, -1, input, kind.flagged, kind.decimals});
    }
    list.push_back(
        TrendQuantity{QStringLiteral("DP"), QStringLiteral("ДП"), TrendUnit::kDp, -1, -1, FlaggedQuantity::Dp, 5});
    return list;
}

// The whole flag field the quantity's bits sit in.
std::uint16_t FlagField(const TrendQuantity& quantity, const ArchiveRecord& record)
{
    if (quantity.pipe >= 0)
        return record.pipeFlags[quantity.pipe];
    if (quantity.input >= 0)
        return record.inputFlags[quantity.input];
    return record.dpFlags;
}

int PositionsOf(const TrendQuantity& quantity)
{
    return quantity.flagged == FlaggedQuantity::Dp ? kDpMarkerPositions : kMarkerPositions;
}

}  // namespace

const std::vector<TrendQuantity>& TrendQuantities()
{
    static const std::vector<TrendQuantity> quantities = BuildQuantities();
    return quantities;
}

const TrendQuantity* FindTrendQuantity(const QString& key)
{
    for (const TrendQuantity& quantity : TrendQuantities()) {
        if (quantity.key == key)
            return &quantity;
    }
    return nullptr;
}

bool ParseTrendQuantityList(const QString& list, std::vector<const TrendQuantity*>* quantities, QString* unknown)
{
    quantities->clear();
    const QStringList keys = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (keys.isEmpty()) {
        for (const TrendQuantity& quantity : TrendQuantities())
            quantities->push_back(&quantity);
        return true;
    }
    for (const QString& key : keys) {
        const TrendQuantity* quantity = FindTrendQuantity(key.trimmed());
        if (!quantity) {
            *unknown = key.trimmed();
            quantities->clear();
            return false;
        }
        quantities->push_back(quantity);
    }
    return true;
}

QString TrendUnitText(TrendUnit unit)
{
    switch (unit) {
        case TrendUnit::kTemperature:
            return QStringLiteral("°C");
        case TrendUnit::kPressure:
            return QStringLiteral("МПа");
        case TrendUnit::kVolume:
            return QStringLiteral("м3");
        case TrendUnit::kMass:
            return QStringLiteral("т");
        case TrendUnit::kHeat:
            return QStringLiteral("Гкал");
        case TrendUnit::kDp:
            break;
    }
    return QStringLiteral("ед.");
}

double TrendValue(const TrendQuantity& quantity, const ArchiveRecord& record)
{
    // Fields are copied out by value: the record is packed, so no reference may bind to them.
    if (quantity.pipe >= 0) {
        const ArchivePipeValues pipe = record.pipes[quantity.pipe];
        switch (quantity.unit) {
            case TrendUnit::kTemperature:
                return pipe.t;
            case TrendUnit::kPressure:
                return pipe.P;
            case TrendUnit::kVolume:
                return pipe.V;
            default:
                return pipe.M;
        }
    }
    if (quantity.input >= 0) {
        const ArchiveInputValues input = record.inputs[quantity.input];
        switch (quantity.flagged) {
            case FlaggedQuantity::InputDt:
                return input.dt;
            case FlaggedQuantity::InputDm:
                return input.dM;
            case FlaggedQuantity::InputQtv:
                return input.Qtv;
            case FlaggedQuantity::InputQ12:
                return input.Q12;
            default:
                return input.Qg;
        }
    }
    return record.dp;
}

std::uint16_t TrendFlags(const TrendQuantity& quantity, const ArchiveRecord& record)
{
    std::uint16_t mask = 0;
    for (int position = 0; position < PositionsOf(quantity); ++position) {
        const int bit = MarkerBit(quantity.flagged, position);
        if (bit >= 0)
            mask = std::uint16_t(mask | (1u << bit));
    }
    return std::uint16_t(FlagField(quantity, record) & mask);
}

QString TrendFlagText(const TrendQuantity& quantity, const ArchiveRecord& record)
{
    QString text = Markers(quantity.flagged, TrendFlags(quantity, record), PositionsOf(quantity));
    text.remove(QLatin1Char(' '));
    return text;
}

bool TrendFlagsFromText(const TrendQuantity& quantity, const QString& markers, std::uint16_t* flags)
{
    std::uint16_t bits = 0;
    for (const QChar c : markers) {
        int found = -1;
        for (int position = 0; position < PositionsOf(quantity) && found < 0; ++position) {
            if (c == QLatin1Char(MarkerChar(position)) && MarkerBit(quantity.flagged, position) >= 0)
                found = MarkerBit(quantity.flagged, position);
        }
        if (found < 0)
            return false;
        bits = std::uint16_t(bits | (1u << found));
    }
    *flags = bits;
    return true;
}
