#pragma once
// CModbusMaster turns reads and writes of byte ranges of the meter's register image into Modbus
// requests: it cuts them into blocks, sends each through its owner's request engine, checks the answer
// and copies the registers back, byte-swapped, into the caller's structure. Used by one thread only.

#include "channel/channel_owner.h"
#include "channel/channel_types.h"

#include <cstdint>

struct ChannelSettings;
struct RegisterSpan;

// The request and answer of one exchange. A request length of 0 asks the engine only to listen.
struct ModbusExchange {
    std::uint8_t request[kExchangeBufferSize] = {};
    std::uint16_t requestLength = 0;
    std::uint8_t answer[kExchangeBufferSize] = {};
    std::uint16_t answerLength = 0;
    // One attempt of several: the caller tells the user once all of them have failed, so a failed
    // attempt is only logged. Otherwise every answer lost on a noisy line would stop a long transfer
    // with a message box, though the next attempt brings the answer.
    bool oneAttemptOfSeveral = false;
};

// Why the last failed exchange failed: no valid answer came (silence, broken or foreign frames, the
// line gone), or the meter answered with an exception.
enum class ExchangeFailure { kNone, kNoAnswer, kException };

class CModbusMaster {
public:
    enum : std::uint8_t {
        kStandardFunctions = 0,     // functions 3 and 16
        kNonStandardFunctions = 1,  // the meter's function 0x48
    };

    // The owner sends (SendQueryTo), names the device (DeviceAddress), logs and shows.
    void SetOwner(ChannelOwner* owner) { m_owner = owner; }
    // The settings of the channel the requests travel through (its framing decides how an answer is
    // checked); null: RTU.
    void SetChannelSettings(const ChannelSettings* settings) { m_channel = settings; }
    // Whether a 0x48 block that got no answer after all attempts is reported in a message box.
    void SetReportsFailures(bool reports) { m_reportsFailures = reports; }
    void SetFunctionSet(std::uint8_t functionSet) { m_functionSet = functionSet; }
    std::uint8_t FunctionSet() const { return m_functionSet; }
    std::uint16_t SequenceNumber() const { return m_sequenceNumber; }
    ModbusExchange& Exchange() { return m_exchange; }

    // Each returns false on any failure, already reported. The field lies inside the structure at base;
    // its offset from base, halved, is the first register.
    bool ReadRegisters(const void* base, const void* field, int byteCount, void* destination, int attempts,
                       int timeoutSec);
    bool WriteRegisters(const void* base, const void* field, int byteCount, int attempts, int timeoutSec);
    bool ReadWrite48(const void* writeBase, const void* writeField, int writeByteCount, const void* readBase,
                     const void* readField, int readByteCount, void* readDestination, int attempts, int timeoutSec);

    // Checks the answer against the request; AnswerVerdict. A rejection is logged and shown.
    int AnalyseAnswer();

    // The failure of the last exchange that failed since ClearFailure (kNone when none did), and
    // whether any answer was taken since then.
    ExchangeFailure LastFailure() const { return m_lastFailure; }
    bool AnyAnswerTaken() const { return m_answerTaken; }
    void ClearFailure()
    {
        m_lastFailure = ExchangeFailure::kNone;
        m_answerTaken = false;
    }

private:
    bool SpanOf(const void* base, const void* field, int byteCount, RegisterSpan& span, const char* operation);
    bool ExchangeBlock(int attempts, int timeoutSec);
    // One 0x48 block with its retries; true when an answer for it was accepted.
    bool ExchangeBlock48(int attempts, int timeoutSec, const std::uint8_t* writeField, const RegisterSpan& writeSpan,
                         int blockIndex, const RegisterSpan& readSpan);
    int ListenForLateAnswer(int timeoutSec);
    // One attempt of a 0x48 transfer; its failure is logged, the transfer reports the last one.
    int SendOneAttempt(int timeoutSec);
    void Report(const QString& text, const char* caption, unsigned style);

    ChannelOwner* m_owner = nullptr;
    const ChannelSettings* m_channel = nullptr;
    bool m_reportsFailures = false;
    std::uint8_t m_functionSet = kStandardFunctions;
    std::uint16_t m_sequenceNumber = 0;
    ModbusExchange m_exchange;
    ExchangeFailure m_lastFailure = ExchangeFailure::kNone;
    bool m_answerTaken = false;
};
