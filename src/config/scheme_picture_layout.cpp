#include "config/scheme_picture_layout.h"

#include "config/scheme_table.h"
#include "config/tx_choices.h"

namespace {

struct SchemeDrawing {
    Pipe3Role pipe3;
    PlantSide plant;
    bool deadEnd;
    const char* consumer;
};

// Index = scheme. Schemes with the same masks differ here, those with the same role by their masks.
constexpr SchemeDrawing kDrawings[kSchemeCount] = {
    {Pipe3Role::kNone, PlantSide::kHeatNetwork, false, ""},
    {Pipe3Role::kDrawOffFromSupply, PlantSide::kHeatNetwork, false, "Потребитель"},
    {Pipe3Role::kDrawOffFromReturn, PlantSide::kHeatNetwork, false, "Потребитель"},
    {Pipe3Role::kDrawOffFromSupply, PlantSide::kHeatNetwork, false, "Потребитель"},
    {Pipe3Role::kCirculation, PlantSide::kHeatNetwork, false, "Потребитель"},
    {Pipe3Role::kMakeUpIntoReturn, PlantSide::kHeatNetwork, false, "Потребитель"},
    {Pipe3Role::kSeparateLine, PlantSide::kHeatNetwork, false, "Тепло-\nобменник"},
    {Pipe3Role::kSeparateLine, PlantSide::kHeatNetwork, false, "Тепло-\nобменник"},
    {Pipe3Role::kSeparateLine, PlantSide::kHeatNetwork, false, "Тепло-\nобменник"},
    {Pipe3Role::kSeparateLine, PlantSide::kHeatNetwork, true, "Водоразбор"},
    {Pipe3Role::kSeparateLine, PlantSide::kHeatNetwork, true, "Водоразбор"},
    {Pipe3Role::kSeparateLine, PlantSide::kHeatNetwork, true, "Водоразбор"},
    {Pipe3Role::kSeparateLine, PlantSide::kHeatNetwork, false, "Потребитель"},
    {Pipe3Role::kMakeUpIntoReturn, PlantSide::kHeatSource, false, "Тепловая сеть"},
    {Pipe3Role::kMakeUpIntoReturn, PlantSide::kHeatSource, false, "Тепловая сеть"},
};

bool SchemeUsesColdWater(int scheme)
{
    const SchemeEntry* entry = SchemeAt(scheme);
    for (const SchemeCombination& row : entry->rows) {
        // Either Qг label set: the alternative labels only ever add an hx.
        if (CombinationNeedsColdWater(scheme, row.Kt3(), row.Frt(), false)
            || CombinationNeedsColdWater(scheme, row.Kt3(), row.Frt(), true))
            return true;
    }
    return false;
}

}  // namespace

QStringList SchemePictureLayout::PointLabels(int pipe) const
{
    QStringList labels;
    const auto has = [pipe](std::uint8_t mask) { return ((mask >> pipe) & 1) != 0; };
    if (has(temperatureMask))
        labels << QStringLiteral("t%1").arg(pipe + 1);
    if (has(pressureMask))
        labels << QStringLiteral("P%1").arg(pipe + 1);
    if (has(volumeMask))
        labels << QStringLiteral("V%1").arg(pipe + 1);
    return labels;
}

QStringList SchemePictureLayout::AllPointLabels() const
{
    QStringList labels;
    for (int pipe = 0; pipe < kPipeCount; ++pipe)
        labels << PointLabels(pipe);
    if (coldWaterPoint)
        labels << QString::fromUtf8(kColdWaterPointLabel);
    return labels;
}

SchemePictureLayout SchemePictureLayoutOf(int scheme)
{
    SchemePictureLayout layout;
    if (scheme < 1 || scheme > kMaxScheme)
        return layout;
    const SchemeEntry& entry = *SchemeAt(scheme);
    const SchemeDrawing& drawing = kDrawings[scheme];
    layout.scheme = scheme;
    layout.temperatureMask = entry.temperatureMask;
    layout.pressureMask = entry.pressureMask;
    layout.volumeMask = entry.volumeMask;
    const std::uint8_t pipes = entry.temperatureMask | entry.pressureMask | entry.volumeMask;
    for (int pipe = 0; pipe < kPipeCount; ++pipe)
        layout.pipeDrawn[pipe] = ((pipes >> pipe) & 1) != 0;
    layout.deadEnd = drawing.deadEnd;
    layout.pipe3 = layout.pipeDrawn[2] ? drawing.pipe3 : Pipe3Role::kNone;
    layout.plant = drawing.plant;
    layout.coldWaterPoint = SchemeUsesColdWater(scheme);
    layout.plantText = drawing.plant == PlantSide::kHeatSource ? QStringLiteral("Источник")
                                                               : QStringLiteral("Тепловая сеть");
    layout.consumerText = QString::fromUtf8(drawing.consumer);
    return layout;
}

QString SchemePictureCaption(const InputSettings& input)
{
    if (input.scheme == 0)
        return QStringLiteral("ТВ НЕ ИСПОЛЬЗУЕТСЯ");
    return QString::asprintf("СИ %d, КТ3=%u, ФРТ=%u", int(input.scheme), input.Kt3(), input.Frt());
}
