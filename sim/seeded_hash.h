#pragma once
// Deterministic numbers from the meter's seed: every generated value is a pure function of the seed
// and of where it is used, so the same seed gives the same archives, logs and flash pages in any
// order of reading.

#include <cstdint>

// SplitMix64 finaliser over the seed and up to three keys.
constexpr std::uint64_t SeededHash(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0, std::uint64_t c = 0)
{
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull ^ (a + 0x632BE59BD9B4E019ull) * 0xBF58476D1CE4E5B9ull
        ^ (b + 0x2545F4914F6CDD1Dull) * 0x94D049BB133111EBull ^ (c + 0x9E3779B97F4A7C15ull);
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return x;
}

// The same as a number in [0, 1).
constexpr double SeededUnit(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0, std::uint64_t c = 0)
{
    return static_cast<double>(SeededHash(seed, a, b, c) >> 11) / 9007199254740992.0;  // 2^53
}

// ... and in [low, high).
constexpr double SeededRange(double low, double high, std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0,
                             std::uint64_t c = 0)
{
    return low + (high - low) * SeededUnit(seed, a, b, c);
}
