#pragma once
// Home Assistant's MQTT discovery for one meter: a device (identified by the factory number, with the
// model, the program version, "ЗТ5" as the maker and the node's name) and one retained config per
// published quantity, each reading its value from the meter's state:
//
//   <discovery>/sensor/zt5_<serial>/<key>/config          values and totals
//   <discovery>/binary_sensor/zt5_<serial>/<key>/config   the flag words, class "problem"
//
// Units Home Assistant knows: heat in Gcal (energy, total_increasing), volumes in m³ and masses in kg
// (total_increasing), pressures in kPa, temperatures in °C, flows per hour, operating hours. An entity is
// available only while both the meter's availability and the watcher's status say "online".

#include "watch/watch_topics.h"

#include <vector>

struct DiscoveryNames {
    QString discoveryPrefix;  // "homeassistant"
    QString prefix;           // "zt5"
    QString host;             // the watcher's, in its status topic
};

// Nothing for a meter that never answered (its model and version are not known yet).
std::vector<MqttMessage> DiscoveryMessages(const DiscoveryNames& names, const BoardMeter& meter);
