#pragma once
// The watcher's page for Prometheus, in the text exposition format, base units throughout: heat in
// joules (1 Gcal = 4.1868e9 J), volumes in cubic meters, masses in grams, pressures in pascals,
// temperatures in celsius, times in seconds; counters end in _total. Every value carries the labels
// `serial` and `pipe` (1..6) or `input` (1, 2). A meter that is down shows only zt5_meter_up 0 and its
// zt5_meter_info: none of its values, so no graph continues with stale ones.
//
//   zt5_meter_up{serial}                       1 or 0
//   zt5_meter_info{serial,model,version,node}  1
//   zt5_meter_values_timestamp_seconds{serial} the meter's time of the values
//   zt5_pipe_temperature_celsius, zt5_pipe_pressure_pascals, zt5_pipe_volume_flow_cubic_meters_per_second,
//   zt5_pipe_mass_flow_grams_per_second, zt5_pipe_volume_cubic_meters_total, zt5_pipe_mass_grams_total,
//   zt5_pipe_flags{serial,pipe}
//   zt5_input_air_temperature_celsius, zt5_input_cold_water_temperature_celsius,
//   zt5_input_cold_water_pressure_pascals, zt5_input_temperature_difference_celsius,
//   zt5_input_mass_difference_grams, zt5_input_heat_joules_total (Qтв), zt5_input_heat_q12_joules_total,
//   zt5_input_heat_qg_joules_total, zt5_input_operating_seconds_total (ВНР),
//   zt5_input_stopped_seconds_total (ВОС), zt5_input_flags{serial,input}
//   zt5_dp_value, zt5_dp_flags, zt5_events, zt5_abstract_controls{serial}
//   zt5_line_requests_total{line,result="ok"|"failed"}   one per meter read of the line
//   zt5_watch_rounds_total, zt5_watch_round_duration_seconds, zt5_watch_round_timestamp_seconds

#include "watch/watch_board.h"

#include <QByteArray>
#include <QDateTime>

#include <map>

struct RoundFacts {
    std::uint64_t rounds = 0;
    double durationSec = 0;
    QDateTime finished;
};

QByteArray MetricsText(const WatchBoard& board, const std::map<QString, LineCounts>& lines, const RoundFacts& round);
