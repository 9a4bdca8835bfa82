// The section of one parameter set in the settings report: the inputs side by side, then their pipes.

#include <vector>

#include "config/config_texts.h"
#include "config/pipe_use.h"
#include "config/pressure_units.h"
#include "config/scheme_labels.h"
#include "config/scheme_table.h"
#include "config/settings_report.h"
#include "config/settings_report_markup.h"

using namespace settings_report;

namespace {

constexpr int kMeasuringVolumeOnly = 12;  // scheme "Изм. V": no heat, no t control, no outdoor air
constexpr int kInputColumns = 3;
const char* const kDegrees = "°C";

// What the report prints of one input of the set. `scheme` is null for an input without one.
struct InputView {
    int number;
    const InputSettings& in;
    const SchemeEntry* scheme;
    const SchemeCombination* row;
    bool needsHx;
};

InputView ViewOf(const DbSettings& db, int input, const DeviceIdentity& identity)
{
    const InputSettings& in = db.inputs[input];
    const SchemeEntry* scheme = in.scheme != 0 ? SchemeAt(in.scheme) : nullptr;
    if (!scheme || scheme->rows.empty())
        return {input, in, nullptr, nullptr, false};
    // A stored pair that no row has is judged by the scheme's first row.
    int position = FindCombination(in.scheme, in.Kt3(), in.Frt());
    if (position < 0)
        position = 0;
    const unsigned frt = in.Frt();
    const bool formulaWithoutHx = frt == 0 || frt == 2 || (frt >= 8 && frt <= 11);
    const bool qgWithHx = QgLabelIndex(in.scheme, position, identity.AlternativeQgLabels()) < kQgLabelNone;
    return {input, in, scheme, &scheme->rows[std::size_t(position)], !formulaWithoutHx || qgWithHx};
}

QString When(bool shown, const QString& text)
{
    return shown ? text : QString();
}

// One label and a three-column value for each input; `value` is asked only for inputs with a scheme.
template <typename Value>
void AppendInputRow(QString& out, const QString& label, const InputView (&views)[kInputCount], Value value)
{
    QStringList cells{Td(label)};
    for (const InputView& view : views)
        cells << SpanTd(view.scheme ? value(view) : QString(), kInputColumns);
    AppendRow(out, cells);
}

void AppendInputs(QString& out, const InputView (&views)[kInputCount], unsigned unitSystem)
{
    QStringList heading{Td(QStringLiteral("Параметр:"))};
    for (const InputView& view : views)
        heading << Th(QStringLiteral("Тепловой ввод %1").arg(view.number + 1), QStringLiteral("colspan=3"));
    AppendRow(out, heading);

    // The scheme number is the one cell an input without a scheme shows.
    QStringList schemes{Td(QStringLiteral("СИ:"))};
    for (const InputView& view : views)
        schemes << SpanTd(QString::number(view.in.scheme), kInputColumns);
    AppendRow(out, schemes);

    using V = const InputView&;
    const auto notVolumeOnly = [](V v) { return v.in.scheme != kMeasuringVolumeOnly; };
    const auto txUsed = [](V v) { return v.needsHx && v.in.ColdWaterUse() != 0; };
    AppendInputRow(out, QStringLiteral("КТ3:"), views, [](V v) { return QString::number(v.in.Kt3()); });
    AppendInputRow(out, QStringLiteral("ФРТ:"), views, [](V v) { return QString::number(v.in.Frt()); });
    AppendInputRow(out, QStringLiteral("Контр.t:"), views, [&](V v) {
        return When(notVolumeOnly(v), Enumerated(kTemperatureControlTexts, v.in.TemperatureControl()));
    });
    AppendInputRow(out, QStringLiteral("Контр.dt:"), views, [](V v) {
        return When(v.row->DtControlOffered(), Enumerated(kDeltaTControlTexts, v.in.DeltaTControl()));
    });
    AppendInputRow(out, QStringLiteral("Исп.tx"), views,
                   [](V v) { return When(v.needsHx, Enumerated(kColdWaterUseTexts[v.number], v.in.ColdWaterUse())); });
    AppendInputRow(out, QStringLiteral("txд (%1):").arg(QString::fromUtf8(kDegrees)), views,
                   [&](V v) { return When(txUsed(v), Decimal(v.in.contractColdTemperature, 3, 7)); });
    AppendInputRow(out, QStringLiteral("Pxд (%1):").arg(PressureUnit(unitSystem)), views, [&](V v) {
        return When(txUsed(v), Decimal(PressureToDisplay(v.in.contractColdPressure, unitSystem), 5, 8));
    });
    AppendInputRow(out, QStringLiteral("Контр.Q:"), views,
                   [&](V v) { return When(notVolumeOnly(v), Enumerated(kHeatControlTexts, v.in.HeatControl())); });
    AppendInputRow(out, QStringLiteral("Контр.dM:"), views, [](V v) {
        return When(v.row->DmControlOffered(), Enumerated(kImbalanceControlTexts, v.in.ImbalanceControl()));
    });
    AppendInputRow(out, QStringLiteral("dM max (%):"), views, [](V v) {
        return When(v.row->DmControlOffered() && v.in.ImbalanceControl() != 0, Decimal(v.in.maxImbalance, 5, 7));
    });
    AppendInputRow(out, QStringLiteral("Исп.tнв:"), views, [&](V v) {
        return When(notVolumeOnly(v), Enumerated(kOutdoorAirTexts, v.in.OutdoorAirMeasured() ? 1 : 0));
    });
}

// One pipe column: the pipe's settings and what its input's scheme makes of it.
struct PipeView {
    const PipeSettings& pipe;
    bool inUse;  // its input has a scheme
    PipeUse use;
};

// One label and six pipe cells (pipes 1-3 of ТВ1, then of ТВ2); `value` is asked only for pipes of
// inputs with a scheme.
template <typename Value>
void AppendPipeRow(QString& out, const QString& label, const std::vector<PipeView>& pipes, Value value)
{
    QStringList cells{Td(label)};
    for (const PipeView& view : pipes)
        cells << SpanTd(view.inUse ? value(view) : QString(), 1);
    AppendRow(out, cells);
}

void AppendPipes(QString& out, const DbSettings& db, const InputView (&views)[kInputCount], bool pressureWithAnyKt3,
                 unsigned unitSystem)
{
    std::vector<PipeView> pipes;
    QStringList heading{Td(QLatin1String(kEmpty))};
    for (const InputView& view : views) {
        for (int p = 0; p < kPipeCount; ++p) {
            const PipeUse use = view.scheme ? UseOfPipe(*view.scheme, view.in.Kt3(), pressureWithAnyKt3, p)
                                            : PipeUse{false, false, false};
            pipes.push_back({db.pipes[view.number][p], view.scheme != nullptr, use});
            heading << Th(QStringLiteral("Труба %1").arg(p + 1), QStringLiteral("width=90"));
        }
    }
    AppendRow(out, heading);

    using V = const PipeView&;
    const QString pressureUnit = PressureUnit(unitSystem);
    const auto pressure = [unitSystem](float mpa) { return Decimal(PressureToDisplay(mpa, unitSystem), 5, 8); };
    const auto sensed = [](V v) { return v.use.pressure && v.pipe.PressureSensor(); };
    AppendPipeRow(out, QStringLiteral("Тип ВС"), pipes,
                  [](V v) { return When(v.use.volume, Enumerated(kFlowMeterTypeTexts, v.pipe.FlowMeterType())); });
    AppendPipeRow(out, QStringLiteral("Вес имп.(л)"), pipes,
                  [](V v) { return When(v.use.volume, Decimal(v.pipe.pulseWeight, 4, 11)); });
    AppendPipeRow(out, QStringLiteral("Контр.ВС"), pipes,
                  [](V v) { return When(v.use.volume, Enumerated(kPowerControlTexts, v.pipe.PowerControl())); });
    AppendPipeRow(out, QStringLiteral("Контр.V"), pipes,
                  [](V v) { return When(v.use.volume, Enumerated(kVolumeControlTexts, v.pipe.VolumeControl())); });
    AppendPipeRow(out, QStringLiteral("Vmax (м3)"), pipes,
                  [](V v) { return When(v.use.volume, Decimal(v.pipe.hourlyVolumeMax, 5, 11)); });
    AppendPipeRow(out, QStringLiteral("Vmin (м3)"), pipes,
                  [](V v) { return When(v.use.volume, Decimal(v.pipe.hourlyVolumeMin, 5, 11)); });
    AppendPipeRow(out, QStringLiteral("Vдог (м3)"), pipes,
                  [](V v) { return When(v.use.volume, Decimal(v.pipe.hourlyVolumeContract, 5, 11)); });
    AppendPipeRow(out, QStringLiteral("tдог(%1)").arg(QString::fromUtf8(kDegrees)), pipes,
                  [](V v) { return When(v.use.temperature, Decimal(v.pipe.contractTemperature, 3, 7)); });
    AppendPipeRow(out, QStringLiteral("Pдог(%1)").arg(pressureUnit), pipes,
                  [&](V v) { return When(v.use.pressure, pressure(v.pipe.contractPressure)); });
    // The sensor flag is printed for every pipe of a used input; the values it governs only where it counts.
    AppendPipeRow(out, QStringLiteral("Датчик P"), pipes,
                  [](V v) { return Enumerated(kPressureSensorTexts, v.pipe.PressureSensor() ? 1 : 0); });
    AppendPipeRow(out, QStringLiteral("Pв(%1)").arg(pressureUnit), pipes,
                  [&](V v) { return When(sensed(v), pressure(v.pipe.sensorUpperLimit)); });
    AppendPipeRow(out, QStringLiteral("Pп(м)"), pipes,
                  [&](V v) { return When(sensed(v), Decimal(v.pipe.heightCorrection, 1, 7)); });
}

}  // namespace

QString SettingsReportSection(const ConfigurationBlocks& blocks, int db)
{
    const DbSettings& settings = blocks.tunes.db[db];
    const unsigned unitSystem = blocks.tunes.UnitSystem();
    const InputView views[kInputCount] = {ViewOf(settings, 0, blocks.identity), ViewOf(settings, 1, blocks.identity)};
    QString out;
    AppendTitleRow(out, QStringLiteral("Настройки БД%1").arg(db + 1));
    AppendInputs(out, views, unitSystem);
    AppendPipes(out, settings, views, blocks.identity.Pipe3PressureWithAnyKt3(), unitSystem);
    return out;
}
