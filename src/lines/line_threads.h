#pragma once
// Lines side by side: at most `jobs` threads, each taking the next line not yet taken until none is
// left or a stop was asked. `stopAsked` is polled a few times a second on the calling thread; once true,
// every driver in `stops` is stopped (the line in hand ends after what it is waiting for) and no further
// line is begun. Returns when every thread is done.

#include "lines/meter_driver.h"

#include <cstddef>
#include <functional>

void RunLinesSideBySide(std::size_t lineCount, int jobs, const std::function<void(std::size_t line)>& runLine,
                        const std::function<bool()>& stopAsked, DriverStopList& stops);

// Lines read at once when the user did not say: all of them, at most 8.
int DefaultLineJobs(std::size_t lineCount);
