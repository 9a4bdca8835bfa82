#include "watch/metrics_page.h"

#include "config/model_capabilities.h"
#include "watch/watch_quantities.h"

#include <cstring>

namespace {

constexpr double kJoulesPerGcal = 4.1868e9;
constexpr double kGramsPerTonne = 1e6;
constexpr double kPascalsPerMpa = 1e6;
constexpr double kSecondsPerHour = 3600;

struct Family {
    const char* stem;
    const char* name;
    const char* help;
    double scale;  // the meter's unit to the base unit
};

// By the quantity's stem; quantities without a row here (Ф, h, hх) are on MQTT only.
constexpr Family kFamilies[] = {
    {"t", "zt5_pipe_temperature_celsius", "Temperature of the pipe.", 1},
    {"P", "zt5_pipe_pressure_pascals", "Pressure in the pipe.", kPascalsPerMpa},
    {"Gv", "zt5_pipe_volume_flow_cubic_meters_per_second", "Volume flow of the pipe.", 1 / kSecondsPerHour},
    {"Gm", "zt5_pipe_mass_flow_grams_per_second", "Mass flow of the pipe.", kGramsPerTonne / kSecondsPerHour},
    {"V", "zt5_pipe_volume_cubic_meters_total", "Volume through the pipe since the meter started.", 1},
    {"M", "zt5_pipe_mass_grams_total", "Mass through the pipe since the meter started.", kGramsPerTonne},
    {"Pipe_Ns", "zt5_pipe_flags", "Abnormal-situation flags of the pipe (0: none).", 1},
    {"ta", "zt5_input_air_temperature_celsius", "Outdoor air temperature of the input.", 1},
    {"tx", "zt5_input_cold_water_temperature_celsius", "Cold-water temperature of the input.", 1},
    {"Px", "zt5_input_cold_water_pressure_pascals", "Cold-water pressure of the input.", kPascalsPerMpa},
    {"dT", "zt5_input_temperature_difference_celsius", "Temperature difference of the input.", 1},
    {"dM", "zt5_input_mass_difference_grams", "Mass difference of the input since the meter started.", kGramsPerTonne},
    {"Qwi", "zt5_input_heat_joules_total", "Heat of the input (Qтв) since the meter started.", kJoulesPerGcal},
    {"Qo", "zt5_input_heat_q12_joules_total", "Heat Q12 of the input since the meter started.", kJoulesPerGcal},
    {"Qg", "zt5_input_heat_qg_joules_total", "Heat Qг of the input since the meter started.", kJoulesPerGcal},
    {"VNR", "zt5_input_operating_seconds_total", "Time the input counted normally (ВНР).", kSecondsPerHour},
    {"VOS", "zt5_input_stopped_seconds_total", "Time the input stood (ВОС).", kSecondsPerHour},
    {"Wi_Ns", "zt5_input_flags", "Abnormal-situation flags of the input (0: none).", 1},
    {"DP", "zt5_dp_value", "Current value of the additional pulse input, in its own units.", 1},
    {"DP_total", "zt5_dp_total", "Count of the additional pulse input, in its own units.", 1},
    {"DP_Ns", "zt5_dp_flags", "Flags of the additional pulse input (0: none).", 1},
    {"Events", "zt5_events", "Event bits of the meter.", 1},
    {"AbstractCtrl", "zt5_abstract_controls", "Abstract-control bits of the meter.", 1},
};

QString Label(const QString& value)
{
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'\n', QStringLiteral("\\n"));
    return u'"' + escaped + u'"';
}

QString Number(double value)
{
    return QString::number(value, 'g', 15);
}

class Page {
public:
    void Head(const char* name, const char* type, const char* help)
    {
        m_text += QStringLiteral("# HELP %1 %2\n# TYPE %1 %3\n")
                      .arg(QLatin1String(name), QString::fromUtf8(help), QLatin1String(type));
    }
    void Sample(const char* name, const QString& labels, double value)
    {
        m_text += QLatin1String(name) + u'{' + labels + QStringLiteral("} ") + Number(value) + u'\n';
    }
    void Plain(const char* name, double value) { m_text += QLatin1String(name) + u' ' + Number(value) + u'\n'; }
    QByteArray Take() { return m_text.toUtf8(); }

private:
    QString m_text;
};

QString SerialLabel(const BoardMeter& meter)
{
    return QStringLiteral("serial=") + Label(QString::number(meter.serial));
}

void AddFamily(Page& page, const Family& family, const WatchBoard& board)
{
    const bool counter = std::strlen(family.name) > 6
        && std::strcmp(family.name + std::strlen(family.name) - 6, "_total") == 0;
    page.Head(family.name, counter ? "counter" : "gauge", family.help);
    for (const BoardMeter& meter : board.Meters()) {
        if (!meter.up)
            continue;
        for (const WatchQuantity& quantity : WatchQuantities()) {
            const auto value = meter.values.find(quantity.key);
            if (quantity.stem != QLatin1String(family.stem) || value == meter.values.end())
                continue;
            QString labels = SerialLabel(meter);
            if (quantity.pipe >= 0)
                labels += QStringLiteral(",pipe=\"%1\"").arg(quantity.pipe + 1);
            if (quantity.input >= 0)
                labels += QStringLiteral(",input=\"%1\"").arg(quantity.input + 1);
            page.Sample(family.name, labels, value->second * family.scale);
        }
    }
}

void AddMeters(Page& page, const WatchBoard& board)
{
    page.Head("zt5_meter_up", "gauge", "Whether the meter answered in the latest round.");
    for (const BoardMeter& meter : board.Meters())
        page.Sample("zt5_meter_up", SerialLabel(meter), meter.up ? 1 : 0);
    page.Head("zt5_meter_info", "gauge", "The meter and the node it is read for.");
    for (const BoardMeter& meter : board.Meters()) {
        const QString labels = SerialLabel(meter) + QStringLiteral(",model=")
            + Label(meter.model < 0 ? QString() : ModelName(meter.model)) + QStringLiteral(",version=")
            + Label(meter.version) + QStringLiteral(",node=") + Label(meter.node);
        page.Sample("zt5_meter_info", labels, 1);
    }
    page.Head("zt5_meter_values_timestamp_seconds", "gauge", "The meter's clock at its latest values.");
    for (const BoardMeter& meter : board.Meters()) {
        if (meter.up && meter.time.isValid())
            page.Sample("zt5_meter_values_timestamp_seconds", SerialLabel(meter),
                        double(meter.time.toSecsSinceEpoch()));
    }
}

}  // namespace

QByteArray MetricsText(const WatchBoard& board, const std::map<QString, LineCounts>& lines, const RoundFacts& round)
{
    Page page;
    AddMeters(page, board);
    for (const Family& family : kFamilies)
        AddFamily(page, family, board);
    page.Head("zt5_line_requests_total", "counter", "Meter reads on the line since the watcher started.");
    for (const auto& [line, counts] : lines) {
        page.Sample("zt5_line_requests_total", QStringLiteral("line=%1,result=\"ok\"").arg(Label(line)),
                    double(counts.answered));
        page.Sample("zt5_line_requests_total", QStringLiteral("line=%1,result=\"failed\"").arg(Label(line)),
                    double(counts.failed));
    }
    page.Head("zt5_watch_rounds_total", "counter", "Polling rounds finished since the watcher started.");
    page.Plain("zt5_watch_rounds_total", double(round.rounds));
    page.Head("zt5_watch_round_duration_seconds", "gauge", "How long the latest round took.");
    page.Plain("zt5_watch_round_duration_seconds", round.durationSec);
    page.Head("zt5_watch_round_timestamp_seconds", "gauge", "When the latest round finished.");
    page.Plain("zt5_watch_round_timestamp_seconds",
               round.finished.isValid() ? double(round.finished.toSecsSinceEpoch()) : 0);
    return page.Take();
}
