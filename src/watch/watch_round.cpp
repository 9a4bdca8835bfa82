#include "watch/watch_round.h"

#include "lines/line_threads.h"

#include <cstdio>

void WatchSay(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
}

WatchRound::WatchRound(std::vector<CollectLine> lines, int jobs, bool verbose)
    : m_lines(std::move(lines)), m_jobs(jobs), m_verbose(verbose)
{}

std::vector<MeterPoll> WatchRound::Run(const std::function<bool()>& stopAsked)
{
    m_stops.Reset();
    {
        const QMutexLocker lock(&m_mutex);
        m_serials.clear();
    }
    std::vector<std::vector<MeterPoll>> polls(m_lines.size());
    RunLinesSideBySide(
        m_lines.size(), m_jobs, [this, &polls](std::size_t index) { RunLine(index, polls); }, stopAsked, m_stops);
    std::vector<MeterPoll> all;
    for (auto& line : polls)
        for (MeterPoll& poll : line)
            all.push_back(std::move(poll));
    return all;
}

void WatchRound::RunLine(std::size_t index, std::vector<std::vector<MeterPoll>>& polls)
{
    const CollectLine& line = m_lines[index];
    for (const CollectMeter& meter : line.meters) {
        if (m_stops.Stopped())
            break;
        MeterPoll poll = PollMeter(line, meter);
        // Cut short by the stop request: the meter did nothing wrong, and nothing is said of it.
        if (!poll.reading && m_stops.Stopped())
            break;
        {
            const QMutexLocker lock(&m_mutex);
            LineCounts& counts = m_counts[line.name];
            (poll.reading ? counts.answered : counts.failed) += 1;
        }
        if (!poll.error.isEmpty())
            WatchSay(QStringLiteral("%1: %2: ошибка: %3\n").arg(line.name, meter.name, poll.error));
        else if (m_verbose)
            WatchSay(QStringLiteral("%1: %2: готово\n").arg(line.name, meter.name));
        polls[index].push_back(std::move(poll));
    }
}

MeterPoll WatchRound::PollMeter(const CollectLine& line, const CollectMeter& meter)
{
    MeterPoll poll;
    poll.line = line.name;
    poll.node = meter.name;
    poll.nodeSerial = std::uint32_t(meter.node.SerialNumber());
    UnattendedHost::LogSink log;
    if (m_verbose) {
        const QString name = meter.name;
        log = [name](const QString& text) { WatchSay(name + QStringLiteral(": ") + text + u'\n'); };
    }
    MeterDriver driver(meter, m_stops, log);
    poll.reading = ReadMeterNow(driver.Driver());
    if (!poll.reading) {
        poll.error = driver.Host().ErrorText();
        if (poll.error.isEmpty())
            poll.error = QStringLiteral("Операция завершена НЕ успешно!");
        return poll;
    }
    const QMutexLocker lock(&m_mutex);
    const auto [place, claimed] = m_serials.emplace(poll.reading->serial, meter.name);
    if (!claimed) {
        poll.error = QStringLiteral("Заводской номер %1 в этом опросе уже у прибора узла \"%2\"")
                         .arg(poll.reading->serial)
                         .arg(place->second);
        poll.reading.reset();
    }
    return poll;
}

std::map<QString, LineCounts> WatchRound::Counts() const
{
    const QMutexLocker lock(&m_mutex);
    return m_counts;
}

std::size_t WatchRound::MeterCount() const
{
    std::size_t count = 0;
    for (const CollectLine& line : m_lines)
        count += line.meters.size();
    return count;
}
