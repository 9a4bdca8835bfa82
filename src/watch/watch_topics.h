#pragma once
// The MQTT topics of the watcher and the messages on them:
//
//   <prefix>/<serial>/state          retained JSON of the latest round's values of one meter
//   <prefix>/<serial>/availability   retained "online" after a good read, "offline" after a silent round
//   <prefix>/watch/<host>/status     retained "online"; "offline" as the last will and the goodbye
//
// The state: {"serial": 1001, "node": "Котельная", "time": "2026-12-10T19:30:00+03:00", "t1_1": 70.1, ...}
// with every published quantity by its key, except growing totals refused in this round.

#include "watch/watch_board.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

struct MqttMessage {
    QString topic;
    QByteArray payload;
    bool retain = true;
};

QString MeterTopic(const QString& prefix, std::uint32_t serial, const char* leaf);
QString WatcherStatusTopic(const QString& prefix, const QString& host);
QByteArray StatePayload(const BoardMeter& meter);
