#include "protocol/modbus_master.h"

#include "base/message_style.h"
#include "channel/channel_settings.h"
#include "protocol/modbus_answer.h"
#include "protocol/modbus_requests.h"
#include "protocol/request_texts.h"

#include <algorithm>

namespace {

// A late answer may trail its request by more than one answer time-out; listen at least this long.
constexpr int kLateAnswerMinimumMs = 10000;

const std::uint8_t* Bytes(const void* pointer)
{
    return static_cast<const std::uint8_t*>(pointer);
}

}  // namespace

bool CModbusMaster::ReadRegisters(const void* base, const void* field, int byteCount, void* destination, int attempts,
                                  int timeoutSec)
{
    RegisterSpan span;
    if (!SpanOf(base, field, byteCount, span, "ReadRegisters") || (byteCount > 0 && !destination))
        return false;
    for (int index = 0; index < BlockCount(span, Modbus::kMaxReadBlock); ++index) {
        const RegisterBlock block = BlockAt(span, Modbus::kMaxReadBlock, index);
        m_exchange.requestLength = static_cast<std::uint16_t>(
            BuildReadRequest(m_exchange.request, m_owner->DeviceAddress(), block));
        if (!ExchangeBlock(attempts, timeoutSec))
            return false;
        CopyAnswerRegisters(m_exchange.answer + Modbus::kReadDataOffset, block, span,
                            static_cast<std::uint8_t*>(destination));
    }
    return true;
}

bool CModbusMaster::WriteRegisters(const void* base, const void* field, int byteCount, int attempts, int timeoutSec)
{
    RegisterSpan span;
    if (!SpanOf(base, field, byteCount, span, "WriteRegisters"))
        return false;
    for (int index = 0; index < BlockCount(span, Modbus::kMaxWriteBlock); ++index) {
        const RegisterBlock block = BlockAt(span, Modbus::kMaxWriteBlock, index);
        m_exchange.requestLength = static_cast<std::uint16_t>(
            BuildWriteRequest(m_exchange.request, m_owner->DeviceAddress(), block, span, Bytes(field)));
        if (!ExchangeBlock(attempts, timeoutSec))
            return false;
    }
    return true;
}

bool CModbusMaster::ReadWrite48(const void* writeBase, const void* writeField, int writeByteCount, const void* readBase,
                                const void* readField, int readByteCount, void* readDestination, int attempts,
                                int timeoutSec)
{
    RegisterSpan writeSpan;
    RegisterSpan readSpan;
    if (!SpanOf(writeBase, writeField, writeByteCount, writeSpan, "ReadWrite48")
        || !SpanOf(readBase, readField, readByteCount, readSpan, "ReadWrite48")
        || (readByteCount > 0 && !readDestination))
        return false;
    // Both parts advance together, one block of each per request, until both are used up.
    const int blocks = std::max(BlockCount(readSpan, Modbus::kMax48ReadBlock),
                                BlockCount(writeSpan, Modbus::kMax48WriteBlock));
    for (int index = 0; index < blocks; ++index) {
        if (!ExchangeBlock48(attempts, timeoutSec, Bytes(writeField), writeSpan, index, readSpan))
            return false;
        CopyAnswerRegisters(m_exchange.answer + Modbus::k48DataOffset,
                            BlockAt(readSpan, Modbus::kMax48ReadBlock, index), readSpan,
                            static_cast<std::uint8_t*>(readDestination));
    }
    return true;
}

int CModbusMaster::AnalyseAnswer()
{
    const AnswerCheck check = ::AnalyseAnswer(m_exchange.request, m_exchange.requestLength, m_exchange.answer,
                                              m_exchange.answerLength, m_channel ? m_channel->framing : kFramingRtu);
    if (check.verdict == kAnswerReject) {
        m_lastFailure = check.exception ? ExchangeFailure::kException : ExchangeFailure::kNoAnswer;
        Report(check.message, kCaptionInformation, MessageStyle::kIconWarning);
    } else if (check.verdict == kAnswerAccept) {
        m_answerTaken = true;
    }
    return check.verdict;
}

bool CModbusMaster::SpanOf(const void* base, const void* field, int byteCount, RegisterSpan& span,
                           const char* operation)
{
    if (byteCount == 0) {
        span = RegisterSpan{};
        return true;
    }
    const bool valid = m_owner && base && field && field >= base
        && MakeRegisterSpan(Bytes(field) - Bytes(base), byteCount, span);
    if (!valid)
        Report(QString::fromUtf8("Ошибка выполнения CModbusMaster::%1!").arg(QLatin1String(operation)), kCaptionError,
               MessageStyle::kIconError);
    return valid;
}

bool CModbusMaster::ExchangeBlock(int attempts, int timeoutSec)
{
    // A rejected answer is not retried: only silence and broken frames are, inside SendQueryTo.
    if (m_owner->SendQueryTo(attempts, timeoutSec) != 1) {
        m_lastFailure = ExchangeFailure::kNoAnswer;
        return false;
    }
    return AnalyseAnswer() == kAnswerAccept;
}

bool CModbusMaster::ExchangeBlock48(int attempts, int timeoutSec, const std::uint8_t* writeField,
                                    const RegisterSpan& writeSpan, int blockIndex, const RegisterSpan& readSpan)
{
    const RegisterBlock read = BlockAt(readSpan, Modbus::kMax48ReadBlock, blockIndex);
    const RegisterBlock write = BlockAt(writeSpan, Modbus::kMax48WriteBlock, blockIndex);
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        // Every attempt is a new request with its own sequence number, so a late answer can be told apart.
        m_exchange.requestLength = static_cast<std::uint16_t>(BuildReadWrite48Request(
            m_exchange.request, m_owner->DeviceAddress(), read, write, m_sequenceNumber++, writeSpan, writeField));
        int heard = SendOneAttempt(timeoutSec);
        if (heard < 0) {
            m_lastFailure = ExchangeFailure::kNoAnswer;
            return false;
        }
        if (heard == 0) {
            m_owner->LogLine(RetryText(attempt));
            continue;
        }
        int verdict = AnalyseAnswer();
        if (verdict == kAnswerSequenceMismatch) {
            m_owner->LogLine(QString::fromUtf8("Получен ответ с номером, не совпадающим с номером запроса\r\n"));
            heard = ListenForLateAnswer(timeoutSec);
            if (heard < 0) {
                m_lastFailure = ExchangeFailure::kNoAnswer;
                return false;
            }
            if (heard == 0)
                continue;
            verdict = AnalyseAnswer();
            if (verdict == kAnswerSequenceMismatch)
                continue;
        }
        return verdict == kAnswerAccept;
    }
    m_lastFailure = ExchangeFailure::kNoAnswer;
    if (m_reportsFailures)
        m_owner->ShowMessage(DeviceSilentText(attempts), QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
    return false;
}

int CModbusMaster::ListenForLateAnswer(int timeoutSec)
{
    // The answer to the current request may still be on its way behind the stale one: wait for it
    // without sending the request again.
    const int waitSec = std::max(timeoutSec * 1000, kLateAnswerMinimumMs) / 1000;
    const std::uint16_t requestLength = m_exchange.requestLength;
    m_exchange.requestLength = 0;
    const int heard = SendOneAttempt(waitSec);
    m_exchange.requestLength = requestLength;
    return heard;
}

int CModbusMaster::SendOneAttempt(int timeoutSec)
{
    m_exchange.oneAttemptOfSeveral = true;
    const int heard = m_owner->SendQueryTo(1, timeoutSec);
    m_exchange.oneAttemptOfSeveral = false;
    return heard;
}

void CModbusMaster::Report(const QString& text, const char* caption, unsigned style)
{
    if (!m_owner)
        return;
    m_owner->LogLine(text);
    m_owner->ShowMessage(text, QString::fromUtf8(caption), style);
}
