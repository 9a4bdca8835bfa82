// CRovoRedod::SendQueryTo: one request to the meter and one answer back, with retries while the meter
// stays silent or its answers arrive broken. A request length of 0 only listens.

#include "base/message_style.h"
#include "protocol/request_texts.h"
#include "protocol/rovo_redod.h"

int CRovoRedod::SendQueryTo(int attempts, int timeoutSec)
{
    ModbusExchange& exchange = m_modbusMaster.Exchange();
    const bool listenOnly = exchange.requestLength == 0;
    ChannelExchange::Tally tally;
    const int result = m_exchange.Exchange(exchange.request, exchange.requestLength, exchange.answer,
                                           exchange.answerLength, attempts, timeoutSec * m_timeoutUnitMs, tally);
    if (result != 0 || !m_reporting.reportFailures)
        return result;
    QString text;
    if (tally.silent == attempts) {
        // Listening for a late answer that never came is not worth a box.
        if (!listenOnly)
            text = DeviceSilentText(attempts);
    } else if (tally.damaged == attempts) {
        text = QString::fromUtf8("Несовпадение контрольной суммы ответа недопустимое число раз. ")
            + AttemptsDoneText(attempts);
    } else {
        text = QString::fromUtf8("Ошибка выполнения при попытке обращения к прибору. ") + AttemptsDoneText(attempts);
    }
    if (text.isEmpty())
        return 0;
    if (exchange.oneAttemptOfSeveral)
        LogLine(text);
    else
        ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
    return 0;
}
