// CRkm8::SendQueryTo and the stand's monitor lines. The retry loop is the meter driver's, with the
// stand's own texts, and a simulated stand that answers "Ok" at once.

#include "channel/message_style.h"
#include "protocol/driver_host.h"
#include "protocol/exchange_log.h"
#include "protocol/read_trouble.h"
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
    if (m_Simulate) {
        QThread::msleep(1);
        std::memset(m_Answer, 0, sizeof m_Answer);
        std::memcpy(m_Answer, kSimulatedAnswer, kSimulatedAnswerLength);
        m_AnswerLength = kSimulatedAnswerLength;
        MyOnCharsRecieved(m_Answer, m_AnswerLength);
        return 1;
    }

    const bool listenOnly = m_RequestLength == 0;
    int silentAttempts = 0;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (!listenOnly && !m_TransmitChanel.WriteData(m_Request, m_RequestLength))
            return -1;
        const int result = m_TransmitChanel.ReadData(m_Answer, kExchangeBufferSize, m_AnswerLength, timeoutSec * 1000);
        switch (result) {
        case kReadFrame:
            return 1;
        case kReadTimeoutEmpty:
            if (attempt < attempts) {
                LogLine(RetryText(attempt));
                if (m_Host && m_ShowProgress)
                    m_Host->SetConnectionText(RetryText(attempt));
            }
            ++silentAttempts;
            break;
        default:
            if (!ReportReadTrouble(*this, result))
                return -1;
            // Transparent framing has no checksum: the stand said something incomplete.
            break;
        }
    }

    if (!m_ReportFailures)
        return 0;
    QString text;
    if (silentAttempts == attempts) {
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
    LogExchangeBlock(true, bytes, count);
    return 0;
}

int CRkm8::MyOnCharsRecieved(const std::uint8_t* bytes, int count)
{
    LogExchangeBlock(false, bytes, count);
    return 0;
}

void CRkm8::LogExchangeBlock(bool transmitted, const std::uint8_t* bytes, int count)
{
    if (!m_Host)
        return;
    if (!bytes || count < 0)
        count = 0;
    if (m_ShowProgress)
        m_Host->FlashLamp(transmitted ? DriverHost::kTransmitLamp : DriverHost::kReceiveLamp);

    QString head = m_TransmitChanel.MonitorHead(transmitted, count);
    if (head.isEmpty()) {
        head = QString::fromUtf8(transmitted ? "Ошибка выполнения CRkm8::MyOnCharsTransmitted!"
                                             : "Ошибка выполнения CRkm8::MyOnCharsRecieved!");
        ReportToOwner(this, head);
    }
    LogLine(FormatExchangeLine(QString::fromUtf8("РКМ8") + head, QTime::currentTime(), bytes, count));
}
