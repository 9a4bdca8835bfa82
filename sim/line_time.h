#pragma once
// How long a serial line at a given speed is busy with one exchange. Every character takes eleven
// bits (start, eight data, parity or a second stop bit, stop); an RTU request ends only after 3.5
// characters of silence, which the meter has to wait out before it may answer. Nothing else: a meter
// that answers at once, a master that sends its next request the moment an answer is complete.
// The simulator holds its answers back by this time, and the benchmarks take it as the limit.

#include <chrono>

inline constexpr int kLineBitsPerCharacter = 11;

inline std::chrono::nanoseconds ExchangeLineTime(long long requestBytes, long long answerBytes, int baud, bool rtuGap)
{
    if (baud <= 0)
        return std::chrono::nanoseconds(0);
    // Counted in half characters so the 3.5-character gap stays whole.
    const long long halfCharacters = 2 * (requestBytes + answerBytes) + (rtuGap ? 7 : 0);
    return std::chrono::nanoseconds(halfCharacters * kLineBitsPerCharacter * 1'000'000'000LL / (2LL * baud));
}
