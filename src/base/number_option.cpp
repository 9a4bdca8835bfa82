#include "base/number_option.h"

std::optional<qint64> ParseNumberInRange(const QString& text, qint64 minimum, qint64 maximum, NumberNotation notation)
{
    const bool hex = notation == NumberNotation::kHexPrefix
        && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")));
    const QString digits = hex ? text.mid(2) : text;
    const bool negative = !hex && digits.startsWith(u'-') && minimum < 0;
    const QString magnitude = negative ? digits.mid(1) : digits;
    if (magnitude.isEmpty() || magnitude.size() > 18)
        return std::nullopt;
    for (const QChar c : magnitude) {
        const bool digit = c >= u'0' && c <= u'9';
        const bool hexDigit = hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'));
        if (!digit && !hexDigit)
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = magnitude.toLongLong(&ok, hex ? 16 : 10) * (negative ? -1 : 1);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

QString NumberRangeMessage(const char* option, qint64 minimum, qint64 maximum)
{
    return QStringLiteral("--%1 ждет число %2..%3").arg(QLatin1String(option)).arg(minimum).arg(maximum);
}
