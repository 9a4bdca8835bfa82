#include "config/service_page_numbers.h"

#include "base/numeric_field_rule.h"

#include <algorithm>
#include <limits>

std::optional<std::uint32_t> ServiceNumber(const QString& text, std::uint32_t maximum)
{
    bool ok = false;
    // "6." is 6: the field keeps a typed point as the end of its number.
    const qulonglong value = WholePart(text.trimmed()).toULongLong(&ok, 10);
    if (!ok || value > maximum)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

QString SteppedSerialText(const QString& text, int step)
{
    constexpr qint64 kMaximum = std::numeric_limits<std::uint32_t>::max();
    const qint64 current = ServiceNumber(text, std::numeric_limits<std::uint32_t>::max()).value_or(0);
    return QString::number(std::clamp<qint64>(current + step, 1, kMaximum));
}

QString ServiceFieldRefusal(const QString& label)
{
    return QStringLiteral("Недопустимое значение поля \"%1\"!").arg(label);
}
