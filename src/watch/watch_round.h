#pragma once
// One polling round of the watcher over a line plan: lines side by side, the meters of a line in turn,
// each meter with a driver of its own (the collector's planning and drivers). A meter that does not
// answer costs its line one time-out and is tried again next round. A meter answering with a factory
// number another meter gave in this round fails, so that two meters never share one state.

#include "lines/collect_plan.h"
#include "lines/meter_driver.h"
#include "watch/meter_reading.h"

#include <QMutex>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// Progress and errors of the watcher, on stderr as the collector prints them.
void WatchSay(const QString& text);

struct MeterPoll {
    QString line;
    QString node;
    std::uint32_t nodeSerial = 0;         // what the node base holds (0: not entered)
    std::optional<MeterReading> reading;  // none when the meter did not answer
    QString error;
};

// The meters' exchanges of each line since the watcher started, for the metrics page.
struct LineCounts {
    std::uint64_t answered = 0;
    std::uint64_t failed = 0;
};

class WatchRound {
public:
    WatchRound(std::vector<CollectLine> lines, int jobs, bool verbose);

    // Polls every meter once; the results in plan order (line by line). `stopAsked` as for the collector:
    // once true the round ends after what each line is waiting for; meters not reached, and the one whose
    // read the stop cut short, are left out (they are not "offline" for it).
    std::vector<MeterPoll> Run(const std::function<bool()>& stopAsked);
    std::map<QString, LineCounts> Counts() const;
    std::size_t MeterCount() const;
    const std::vector<CollectLine>& Lines() const { return m_lines; }

private:
    void RunLine(std::size_t index, std::vector<std::vector<MeterPoll>>& polls);
    MeterPoll PollMeter(const CollectLine& line, const CollectMeter& meter);

    const std::vector<CollectLine> m_lines;
    const int m_jobs;
    const bool m_verbose;
    DriverStopList m_stops;
    mutable QMutex m_mutex;                      // guards the two below
    std::map<std::uint32_t, QString> m_serials;  // in this round: factory number -> node
    std::map<QString, LineCounts> m_counts;
};
