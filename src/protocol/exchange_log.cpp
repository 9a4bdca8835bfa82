#include "protocol/exchange_log.h"

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
    // The hour too: a saved monitor text of a long session is read back by the clock.
    return QString::asprintf("%s ->: %.2d ч. :%.2d мин. :%.2d с. :%.3d мс==>>  %s ", head.toUtf8().constData(),
                             time.hour(), time.minute(), time.second(), time.msec(), hex.constData());
}
