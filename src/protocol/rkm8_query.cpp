// CRkm8::SendQueryTo and the stand's monitor lines: the meter driver's exchange with the stand's own
// texts, and a simulated stand that answers "Ok" at once.

#include "channel/message_style.h"
#include "protocol/rkm8.h"

#include <QThread>

#include <cstring>

namespace {

constexpr char kSimulatedAnswer[] = "Ok";
constexpr int kSimulatedAnswerLength = 2;

}  // namespace

int CRkm8::SendQueryTo(int attempts, int timeoutSec)
{
    if (m_Simulate) {
        QThread::msleep(1);
        std::memset(m_Answer, 0, sizeof m_Answer);
        std::memcpy(m_Answer, kSimulatedAnswer, kSimulatedAnswerLength);
        m_AnswerLength = kSimulatedAnswerLength;
        MyOnCharsRecieved(m_Answer, m_AnswerLength);
        return 1;
    }

    const bool listenOnly = m_RequestLength == 0;
    ChannelExchange::Tally tally;
    const int result = m_Exchange.Exchange(m_Request, m_RequestLength, m_Answer, m_AnswerLength, attempts,
                                           timeoutSec * 1000, tally);
    if (result != 0)
        return result;
    if (!m_ReportFailures)
        return 0;
    QString text;
    if (tally.silent == attempts) {
        if (!listenOnly)
            text = QString::fromUtf8(
                "Стенд РКМ8 не найден. Убедитесь в том, что он правильно подключен к компьютеру и в настройках "
                "программы выбран соответствующий СОМ-порт!");
    } else {
        text = QString::asprintf("Ошибка выполнения при попытке обращения к РКМ8. Выполнено %d попыток!", attempts);
    }
    if (!text.isEmpty()) {
        LogLine(text);
        ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
    }
    return 0;
}

int CRkm8::MyOnCharsTransmitted(const std::uint8_t* bytes, int count)
{
    m_Exchange.MonitorBlock(true, bytes, count);
    return 0;
}

int CRkm8::MyOnCharsRecieved(const std::uint8_t* bytes, int count)
{
    m_Exchange.MonitorBlock(false, bytes, count);
    return 0;
}
