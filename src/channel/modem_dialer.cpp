// ModemDialer: sending a command, waiting for its answer, dialling, and leaving the data connection.

#include "channel/modem_dialer.h"

#include "base/message_style.h"
#include "base/utf8_text.h"
#include "channel/channel_owner.h"
#include "channel/channel_settings.h"
#include "channel/channel_types.h"
#include "channel/modem_answer_wait.h"
#include "channel/serial_port.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

constexpr unsigned kBothQueues = CCommPortClass::kPurgeTransmit | CCommPortClass::kPurgeReceive;
// How often a pause looks at the stop request.
constexpr int kPausePollMs = 10;
// The longest connection time-out taken from the settings, in seconds (keeps the ms value in range).
constexpr int kMaxConnectTimeoutSec = 24 * 3600;

}  // namespace

QString ModemLogText(const QByteArray& bytes)
{
    QByteArray text = bytes;
    text.replace('\r', QByteArray()).replace('\n', QByteArray());
    return QString::fromLatin1(text);
}

ModemDialer::ModemDialer(const ModemDialerSettings& settings) : m_settings(settings) {}

void ModemDialer::Bind(const ModemContext& line)
{
    m_owner = line.owner;
    m_port = line.port;
    m_line = line.settings;
}

int ModemDialer::Scaled(int ms) const
{
    return static_cast<int>(std::lround(ms * std::max(0.0, m_settings.timeScale)));
}

bool ModemDialer::Pause(int ms) const
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_owner && m_owner->StopRequested())
            return false;
        const qint64 left = ms - clock.elapsed();
        if (left <= 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<qint64>(left, kPausePollMs)));
    }
}

void ModemDialer::Log(const QString& text) const
{
    LogToOwner(m_owner, text);
}

void ModemDialer::Report(const QString& text) const
{
    if (!m_owner)
        return;
    m_owner->LogLine(text);
    m_owner->ShowMessage(text, Utf8(kCaptionInformation), MessageStyle::kIconWarning);
}

int ModemDialer::SendCommand(const QByteArray& command, int pauseMs)
{
    Log(Utf8("Посылка команды: \"%1\"").arg(ModemLogText(command)));
    const int purged = m_port ? m_port->Purge(kBothQueues) : kTransportFailed;
    if (purged != kTransportOk) {
        Report(Utf8("Ошибка при очистке буферов СОМ порта (код %1)\r\n").arg(purged));
        return purged;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(command.constData());
    int written = kTransportOk;
    if (pauseMs <= 0) {
        written = m_port->Write(bytes, static_cast<int>(command.size()));
    } else {
        for (qsizetype i = 0; i < command.size() && written == kTransportOk; ++i) {
            written = m_port->Write(bytes + i, 1);
            if (written == kTransportOk && !Pause(pauseMs))
                return kModemStopped;
        }
    }
    if (written != kTransportOk)
        Report(Utf8("Ошибка при передаче команды (код %1)\r\n").arg(written));
    return written;
}

int ModemDialer::WaitForAnswer(const QByteArray& command, const char* expected1, const char* expected2, int timeoutMs,
                               QByteArray* answer)
{
    QByteArray reply;
    const int result = m_port ? WaitModemAnswer(*m_port, m_owner, command, expected1, expected2, timeoutMs, &reply)
                              : static_cast<int>(kModemUnexpected);
    if (answer)
        *answer = reply;
    const QString answerText = ModemLogText(reply);
    switch (result) {
        case kModemOk:
            Log(answer ? Utf8("Ответ получен: \"%1\"").arg(answerText) : Utf8("Ответ получен"));
            break;
        case kModemNoAnswer:
            Log(Utf8("Ответ не получен"));
            break;
        case kModemChecksum:
            Report(Utf8("Ошибка контрольной суммы"));
            break;
        case kModemStopped:
            Log(Utf8("Процесс ожидания прерван пользователем"));
            break;
        case kModemUnexpected:
            Log(Utf8("Ответ получен: \"%1\"").arg(answerText));
            if (reply.contains("BUSY"))
                Report(Utf8("Линия занята!"));
            else if (reply.contains("NO DIALTONE"))
                Report(Utf8("Нет гудка в линии!"));
            else if (reply.contains("NO CARRIER"))
                Report(Utf8("Нет несущей!"));
            else
                Report(Utf8("При выполнении возникла ошибка"));
            break;
        case kModemError:
            Log(Utf8("Модем выдал сообщение об ошибке: \"%1\"").arg(answerText));
            Report(Utf8("При выполнении команды \"%1\" возникла ошибка! Модем выдал сообщение \"%2\".\r\n"
                        "Операция будет прекращена!")
                       .arg(ModemLogText(command), answerText));
            break;
        default:
            Report(Utf8("В процессе ожидания ответа возникла ошибка (код %1)!").arg(result));
            break;
    }
    return result;
}

int ModemDialer::SendAndWait(const QString& logText, int timeoutMs, const QByteArray& command, const char* expected1,
                             const char* expected2, int pauseMs)
{
    Log(logText);
    int result = kModemNoAnswer;
    for (int attempt = 0; attempt < kSendTries; ++attempt) {
        const int sent = SendCommand(command, pauseMs);
        if (sent != kModemOk)
            return sent;
        QByteArray answer;
        result = WaitForAnswer(command, expected1, expected2, timeoutMs, &answer);
        if (result == kModemOk)
            return result;
        if (result == kModemNoAnswer)
            continue;
        if (result >= kModemChecksum && result <= kModemError)
            return result;
        Report(Utf8("В процессе посылки команды/ожидания ответа возникла ошибка (код %1)!").arg(result));
    }
    return result;
}

int ModemDialer::Dial(const ModemContext& line)
{
    Bind(line);
    if (!m_owner || !m_line)
        return kModemUnexpected;
    const QString phone = m_line->phoneNumber;
    const int timeoutSec = std::clamp<int>(m_line->modemConnectTimeoutSec, 0, kMaxConnectTimeoutSec);
    const QByteArray command = (m_line->dialMode == 0 ? QByteArray("ATDP") : QByteArray("ATDT")) + phone.toLatin1()
        + '\r';
    const int result = SendAndWait(Utf8("Набор номера: %1").arg(phone), timeoutSec * 1000, command, "CONNECT", nullptr,
                                   0);
    if (result != kModemOk)
        Report(Utf8("Операция завершена не успешно!"));
    return result;
}

int ModemDialer::ToCommandMode(const ModemContext& line)
{
    Bind(line);
    // The modem takes "+++" as its escape only after a second of silence on the line.
    if (!Pause(Scaled(kEscapePauseMs)))
        return kModemStopped;
    const int result = SendAndWait(Utf8("Перевод модема в командный режим\r\n"), Scaled(kCommandTimeoutMs), "+++",
                                   ModemAnswerString(kModemAnswerOk), ModemAnswerString(kModemAnswerOkNumeric), 0);
    Pause(Scaled(kEscapePauseMs));
    return result;
}

int ModemDialer::HangUp(const ModemContext& line)
{
    Bind(line);
    return SendAndWait(Utf8("Команда повесить трубку\r\n"), Scaled(kCommandTimeoutMs), "ATH\r",
                       ModemAnswerString(kModemAnswerOk), ModemAnswerString(kModemAnswerOkNumeric), 0);
}
