#pragma once
// One conversation of the simulated meter on a byte stream: gathers the bytes that arrive, finds each
// request frame in the line's framing, has the slave answer it, and turns the answer into what goes
// back on the wire, with the faults of the plan applied. Timing is left to the endpoint that owns it.

#include "fault_plan.h"
#include "modbus_slave.h"

#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <vector>

struct SimAction {
    enum Type { Send, Close } type = Send;
    QByteArray bytes;
    std::chrono::nanoseconds delay{0};  // after the previous action
};

struct SessionSettings {
    int framing = 0;            // 0 RTU, 1 ASCII, 2 stuffed, 4 MBAP
    int flagPlacement = 0;      // stuffed framing only
    int faultDelayMs = 3500;    // how long a delayed answer is held
    int lateGapMs = 200;        // between the stale and the true answer of the "late" fault
    int baudDelay = 0;          // when set, answers are held for the line time at this baud rate
    bool closeAllowed = false;  // only a TCP endpoint can drop its connection
};

class MeterSession {
public:
    MeterSession(ModbusSlave& slave, FaultPlan& faults, const SessionSettings& settings);

    // Takes received bytes; any requests completed by them are answered into the pending actions.
    void Feed(const std::uint8_t* bytes, int length);
    // The line has been quiet for a frame gap: an RTU request of unknown length is taken as a whole
    // (or dropped), leftovers of a broken frame are discarded.
    void LineQuiet();
    // True while RTU bytes wait for the silence that ends their frame.
    bool NeedsFrameGap() const;
    // True while bytes of an unfinished frame wait, in any framing.
    bool HasPartialFrame() const { return !m_buffer.isEmpty(); }
    // Forgets whatever is half received: a new connection or datagram starts clean.
    void Reset() { m_buffer.clear(); }
    // True once the peer broke the framing beyond repair (a foreign MBAP header on a line that can be
    // dropped); a Close action is queued and later bytes are ignored.
    bool Closing() const { return m_closing; }

    std::vector<SimAction> TakeActions();

    // Counters for the transaction log and the tests.
    int Requests() const { return m_requests; }

    // Hex text of a byte run, for the transaction log.
    static QString Hex(const QByteArray& bytes);

private:
    bool TakeRtu(bool quiet);
    bool SkipRtuByte();
    bool SkipToSoundRtuFrame();
    bool TakeAscii();
    bool TakeStuffed();
    bool TakeMbap();
    void Handle(const std::uint8_t* unit, int unitLength, const QByteArray& wireRequest, std::uint16_t mbapTransaction);
    QByteArray Encode(const std::uint8_t* answer, int length, std::uint16_t mbapTransaction) const;
    std::chrono::nanoseconds LineTime(int requestBytes, int answerBytes) const;

    ModbusSlave& m_slave;
    FaultPlan& m_faults;
    SessionSettings m_settings;
    QByteArray m_buffer;
    std::vector<SimAction> m_actions;
    int m_requests = 0;
    bool m_closing = false;
};
