// CRovoRedod::SendQueryTo: one request to the meter and one answer back, with retries while the meter
// stays silent or its answers arrive broken. A request length of 0 only listens.

#include "channel/message_style.h"
#include "protocol/read_trouble.h"
#include "protocol/request_texts.h"
#include "protocol/rovo_redod.h"

int CRovoRedod::SendQueryTo(int attempts, int timeoutSec)
{
    ModbusExchange& exchange = m_ModbusMaster.Exchange();
    const bool listenOnly = exchange.requestLength == 0;
    int silentAttempts = 0;
    int checksumFailures = 0;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        // A write failure has been reported by the channel.
        if (!listenOnly && !m_TransmitChanel.WriteData(exchange.request, exchange.requestLength))
            return -1;
        const int result =
            m_TransmitChanel.ReadData(exchange.answer, kExchangeBufferSize, exchange.answerLength,
                                       timeoutSec * m_TimeoutUnitMs);
        switch (result) {
        case kReadFrame:
            return 1;
        case kReadTimeoutEmpty:
            if (attempt < attempts) {
                LogLine(RetryText(attempt));
                SetConnectionText(RetryText(attempt));
            }
            ++silentAttempts;
            break;
        default:
            if (!ReportReadTrouble(*this, result))
                return -1;
            ++checksumFailures;
            break;
        }
    }

    if (!m_Reporting.reportFailures)
        return 0;
    QString text;
    if (silentAttempts == attempts) {
        // Listening for a late answer that never came is not worth a box.
        if (!listenOnly)
            text = DeviceSilentText(attempts);
    } else if (checksumFailures == attempts) {
        text = QString::asprintf(
            "Несовпадение контрольной суммы ответа недопустимое число раз. Выполнено %d попыток!", attempts);
    } else {
        text = QString::asprintf("Ошибка выполнения при попытке обращения к прибору. Выполнено %d попыток!", attempts);
    }
    if (text.isEmpty())
        return 0;
    if (exchange.oneAttemptOfSeveral)
        LogLine(text);
    else
        ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
    return 0;
}
