// CRkm8::SendQueryTo and the stand's monitor lines: the meter driver's exchange with the stand's own
// texts, and a simulated stand that answers "Ok" at once.

#include "base/message_style.h"
#include "protocol/request_texts.h"
#include "protocol/rkm8.h"

#include <QThread>

#include <cstring>

namespace {

constexpr char kSimulatedAnswer[] = "Ok";
constexpr int kSimulatedAnswerLength = 2;

}  // namespace

int CRkm8::SendQueryTo(int attempts, int timeoutSec)
{
    if (m_simulate) {
        QThread::msleep(1);
        std::memset(m_answer, 0, sizeof m_answer);
        std::memcpy(m_answer, kSimulatedAnswer, kSimulatedAnswerLength);
        m_answerLength = kSimulatedAnswerLength;
        MyOnCharsRecieved(m_answer, m_answerLength);
        return 1;
    }

    const bool listenOnly = m_requestLength == 0;
    ChannelExchange::Tally tally;
    const int result = m_exchange.Exchange(m_request, m_requestLength, m_answer, m_answerLength, attempts,
                                           timeoutSec * 1000, tally);
    if (result != 0)
        return result;
    if (!m_reportFailures)
        return 0;
    QString text;
    if (tally.silent == attempts) {
        if (!listenOnly)
            text = QString::fromUtf8(
                "Стенд РКМ8 не найден. Убедитесь в том, что он правильно подключен к компьютеру и в настройках "
                "программы выбран соответствующий СОМ-порт!");
    } else {
        text = QString::fromUtf8("Ошибка выполнения при попытке обращения к РКМ8. ") + AttemptsDoneText(attempts);
    }
    if (!text.isEmpty()) {
        LogLine(text);
        ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
    }
    return 0;
}

int CRkm8::MyOnCharsTransmitted(const std::uint8_t* bytes, int count)
{
    m_exchange.MonitorBlock(true, bytes, count);
    return 0;
}

int CRkm8::MyOnCharsRecieved(const std::uint8_t* bytes, int count)
{
    m_exchange.MonitorBlock(false, bytes, count);
    return 0;
}
