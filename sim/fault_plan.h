#pragma once
// Misbehaviour of the simulated meter, deterministic for a seed: each kind of fault strikes either
// at a rate (a probability per answer) or on the first N answers. The reliability tests of the
// master are built on these.

#include <QString>

#include <array>
#include <cstdint>
#include <random>

enum class FaultKind : int {
    Drop = 0,  // no answer at all
    Corrupt,   // one byte of the answer flipped (bad CRC/LRC)
    Delay,     // the answer is held past the master's time-out
    Late,      // a 0x48 answer carrying the previous sequence number goes out first
    Echo,      // the request is sent back before the answer (a two-wire line)
    Garbage,   // a few random bytes before the answer
    Close,     // the TCP connection is closed instead of answering
    Swap,      // a function-3 read of a record answer area gets another record of the archive, as when a
               // second master asked between the request block and the read
};
constexpr int kFaultKindCount = 8;

struct FaultRule {
    double rate = 0.0;  // probability per answer, 0..1
    int count = 0;      // or: the first `count` answers that can take this fault
};

class FaultPlan {
public:
    FaultPlan() { Reseed(1); }

    // "drop=10%", "corrupt=0.05", "delay=3x" (the first three answers). Returns an error text, or empty.
    QString AddRule(const QString& text);
    void SetRule(FaultKind kind, FaultRule rule) { m_rules[static_cast<int>(kind)] = rule; }
    FaultRule Rule(FaultKind kind) const { return m_rules[static_cast<int>(kind)]; }
    bool Any() const;
    void Reseed(std::uint32_t seed) { m_random.seed(seed); }

    // Decides whether this answer takes the fault. Each call consumes the random stream, so the same
    // seed and the same request sequence give the same faults.
    bool Strike(FaultKind kind);
    // Deterministic helpers for the fault's details.
    std::uint32_t NextRandom() { return m_random(); }

    static QString KindName(FaultKind kind);
    static bool KindFromName(const QString& name, FaultKind* kind);

private:
    std::array<FaultRule, kFaultKindCount> m_rules{};
    std::array<int, kFaultKindCount> m_struck{};
    std::mt19937 m_random;
};
