#include "nodes/node_input_rules.h"

#include <QStringList>

namespace NodeInputRules {

namespace {

constexpr int kByteLimit = 256;

template <typename Keep>
QString Kept(const QString& text, int maxLength, Keep keep)
{
    QString kept;
    for (const QChar c : text) {
        if (kept.size() >= maxLength)
            break;
        if (keep(c))
            kept.append(c);
    }
    return kept;
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

}  // namespace

QString Digits(const QString& text, int maxDigits)
{
    return Kept(text, maxDigits, IsAsciiDigit);
}

QString PhoneNumber(const QString& text)
{
    return Kept(text, kPhoneLength, [](QChar c) { return IsAsciiDigit(c) || c == u',' || c == u'W' || c == u'w'; });
}

int NumberOf(const QString& kept)
{
    // At most 5 digits reach here, so the value fits.
    const QString digits = WholePart(kept);
    return digits.isEmpty() ? 0 : digits.toInt();
}

std::optional<QString> DottedQuad(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    QStringList values;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3 || Digits(part, 3) != part || part.toInt() >= kByteLimit)
            return std::nullopt;
        values.append(QString::number(part.toInt()));
    }
    return values.join(u'.');
}

}  // namespace NodeInputRules
