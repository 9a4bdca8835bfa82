#include "protocol/exchange_log.h"

#include "protocol/driver_host.h"
#include "protocol/rovo_redod.h"

#include <QByteArray>

QString FormatExchangeLine(const QString& head, const QTime& time, const std::uint8_t* bytes, int count)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray hex;
    hex.reserve(3 * count);
    for (int i = 0; i < count; ++i) {
        hex.append(kHex[bytes[i] >> 4]);
        hex.append(kHex[bytes[i] & 0x0F]);
        hex.append(' ');
    }
    return QString::asprintf("%s ->: %.2d мин. :%.2d с. :%.3d мс==>>  %s ", head.toUtf8().constData(), time.minute(),
                             time.second(), time.msec(), hex.constData());
}

// --- The driver's monitor hooks: the channel's transports call them for every block of wire bytes. ---

int CRovoRedod::MyOnCharsTransmitted(const std::uint8_t* bytes, int count)
{
    LogExchangeBlock(true, bytes, count);
    return 0;
}

int CRovoRedod::MyOnCharsRecieved(const std::uint8_t* bytes, int count)
{
    LogExchangeBlock(false, bytes, count);
    return 0;
}

void CRovoRedod::LogExchangeBlock(bool transmitted, const std::uint8_t* bytes, int count)
{
    if (!m_Host)
        return;
    if (!bytes || count < 0)
        count = 0;
    if (m_Reporting.showProgress)
        m_Host->FlashLamp(transmitted ? DriverHost::kTransmitLamp : DriverHost::kReceiveLamp);

    QString head = m_TransmitChanel.MonitorHead(transmitted, count);
    if (head.isEmpty()) {
        head = QString::fromUtf8(transmitted ? "Ошибка выполнения CRovoRedod::MyOnCharsTransmitted!"
                                             : "Ошибка выполнения CRovoRedod::MyOnCharsRecieved!");
        ReportToOwner(this, head);
    }
    LogLine(FormatExchangeLine(head, QTime::currentTime(), bytes, count));
    // The answer is in: a "Повтор %d" left from an earlier attempt no longer applies.
    if (!transmitted)
        SetConnectionText(QString());
}
