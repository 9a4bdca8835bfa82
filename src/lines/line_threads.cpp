#include "lines/line_threads.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace {
constexpr unsigned long kWatchMs = 100;
constexpr int kDefaultMaxJobs = 8;
}  // namespace

void RunLinesSideBySide(std::size_t lineCount, int jobs, const std::function<void(std::size_t line)>& runLine,
                        const std::function<bool()>& stopAsked, DriverStopList& stops)
{
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t index = next++; index < lineCount && !stops.Stopped(); index = next++)
            runLine(index);
    };
    std::vector<std::unique_ptr<QThread>> workers;
    const std::size_t count = std::min(std::size_t(std::max(jobs, 1)), lineCount);
    for (std::size_t i = 0; i < count; ++i) {
        workers.emplace_back(QThread::create(work));
        workers.back()->start();
    }
    for (auto& worker : workers) {
        while (!worker->wait(kWatchMs)) {
            if (!stops.Stopped() && stopAsked && stopAsked())
                stops.StopAll();
        }
    }
}

int DefaultLineJobs(std::size_t lineCount)
{
    return int(std::min<std::size_t>(lineCount, kDefaultMaxJobs));
}
