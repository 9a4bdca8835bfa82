#pragma once
// What the watcher knows of every meter after the latest round: whether it answered, who it is, and the
// values it is willing to stand by. A growing total (volume, mass, heat, hours) that came back smaller
// than the one accepted before is a bad read that slipped through: it keeps its accepted value and the
// round names it, so neither MQTT nor the metrics ever show a total going down. A meter that did not
// answer is down; its values are kept only to hold its totals against the next answer.

#include "watch/watch_round.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <vector>

struct BoardMeter {
    QString node;
    QString line;
    std::uint32_t serial = 0;  // the meter's own once it answered, the node base's before
    int model = -1;            // -1 until the meter answered once
    QString version;
    bool polled = false;  // asked at least once
    bool up = false;
    QDateTime time;                    // of the values
    std::map<QString, double> values;  // by WatchQuantity key
    QStringList refused;               // this round: "Qwi_1 12.5 -> 12.1"
    QStringList refusedKeys;           // this round: "Qwi_1"
};

class WatchBoard {
public:
    // One entry per meter of the plan, in its order, none answered yet.
    explicit WatchBoard(const std::vector<CollectLine>& lines);

    void TakeRound(const std::vector<MeterPoll>& polls);
    const std::vector<BoardMeter>& Meters() const { return m_meters; }
    // The meters answered and the meters asked in the latest round.
    int Answered() const;

private:
    void TakeReading(BoardMeter& meter, const MeterReading& reading);

    std::vector<BoardMeter> m_meters;
};
