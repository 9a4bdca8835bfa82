#pragma once
// watch: the current values and totals of the meters of the node base, every --interval seconds, to an
// MQTT broker (state, availability, Home Assistant discovery) and to a Prometheus page, until SIGTERM or
// Ctrl+C (exit 0 after saying goodbye on MQTT). With --once one round: 0 when every meter answered,
// 1 otherwise; 2 on a usage error. The broker's password comes from ZT5_MQTT_PASSWORD or from the file
// ZT5_MQTT_PASSWORD_FILE names (set in watch.conf), never from the command line.

class CliContext;

int RunWatch(CliContext& context);
