#include "watch/watch_board.h"

#include "watch/watch_quantities.h"

WatchBoard::WatchBoard(const std::vector<CollectLine>& lines)
{
    for (const CollectLine& line : lines) {
        for (const CollectMeter& meter : line.meters) {
            BoardMeter entry;
            entry.node = meter.name;
            entry.line = line.name;
            entry.serial = std::uint32_t(meter.node.SerialNumber());
            m_meters.push_back(std::move(entry));
        }
    }
}

void WatchBoard::TakeRound(const std::vector<MeterPoll>& polls)
{
    for (const MeterPoll& poll : polls) {
        for (BoardMeter& meter : m_meters) {
            if (meter.node != poll.node || meter.line != poll.line)
                continue;
            meter.refused.clear();
            meter.refusedKeys.clear();
            meter.polled = true;
            meter.up = poll.reading.has_value();
            if (poll.reading)
                TakeReading(meter, *poll.reading);
            break;
        }
    }
}

void WatchBoard::TakeReading(BoardMeter& meter, const MeterReading& reading)
{
    // Another meter behind the node: nothing of the old one's totals holds for it.
    if (meter.model >= 0 && meter.serial != reading.serial)
        meter.values.clear();
    meter.serial = reading.serial;
    meter.model = reading.model;
    meter.version = reading.version;
    meter.time = reading.time;
    for (const WatchQuantity& quantity : WatchQuantities()) {
        const double value = WatchValue(quantity, reading);
        const auto known = meter.values.find(quantity.key);
        if (IsGrowingTotal(quantity) && known != meter.values.end() && value < known->second) {
            meter.refused << QStringLiteral("%1 %2 -> %3")
                                 .arg(quantity.key, QString::number(known->second, 'g', 12),
                                      QString::number(value, 'g', 12));
            meter.refusedKeys << quantity.key;
            continue;
        }
        meter.values[quantity.key] = value;
    }
}

int WatchBoard::Answered() const
{
    int count = 0;
    for (const BoardMeter& meter : m_meters)
        count += meter.up ? 1 : 0;
    return count;
}
