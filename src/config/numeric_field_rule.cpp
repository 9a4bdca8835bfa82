#include "config/numeric_field_rule.h"

QString NumericFieldRule::Apply(const QString& typed) const
{
    QString kept;
    kept.reserve(typed.size());
    int point = -1;
    for (const QChar c : typed) {
        if (c.isDigit() && c.unicode() < 128) {
            if (point >= 0 && maxDecimals >= 0 && kept.size() - point - 1 >= maxDecimals)
                continue;  // decimals beyond the field's limit are cut off
            kept += c;
        } else if (c == u'.' && point < 0 && maxDecimals != 0) {
            point = int(kept.size());
            kept += c;
        } else if (c == u'-' && allowNegative && kept.isEmpty()) {
            kept += c;
        }
        // anything else breaks the rule and is dropped
    }
    return kept;
}

std::optional<double> NumericFieldValue(const QString& kept)
{
    bool ok = false;
    const double value = kept.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}
