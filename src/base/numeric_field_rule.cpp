#include "base/numeric_field_rule.h"

namespace {

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsPoint(QChar c)
{
    return c == u'.' || c == u',';
}

// Drops the last digits of the whole part while it is above `maxValue`.
void FitWholePart(QString& kept, int maxValue)
{
    const qsizetype start = kept.startsWith(u'-') ? 1 : 0;
    qsizetype end = kept.indexOf(u'.');
    if (end < 0)
        end = kept.size();
    while (end > start && kept.mid(start, end - start).toLongLong() > maxValue) {
        kept.remove(end - 1, 1);
        --end;
    }
}

}  // namespace

QString NumericFieldRule::Apply(const QString& typed) const
{
    QString kept;
    kept.reserve(typed.size());
    int point = -1;
    int wholeDigits = 0;
    for (const QChar c : typed) {
        if (IsAsciiDigit(c)) {
            if (point >= 0 && maxDecimals >= 0 && kept.size() - point - 1 >= maxDecimals)
                continue;  // decimals beyond the field's limit are cut off
            if (point < 0 && maxDigits >= 0 && wholeDigits >= maxDigits)
                continue;
            if (point < 0)
                ++wholeDigits;
            kept += c;
        } else if (IsPoint(c) && point < 0) {
            point = int(kept.size());
            kept += u'.';
        } else if (c == u'-' && allowNegative && kept.isEmpty()) {
            kept += c;
        }
        // anything else breaks the rule and is dropped
    }
    if (maxValue >= 0)
        FitWholePart(kept, maxValue);
    return kept;
}

bool NumericFieldRule::KeepsNumberOf(const QString& text) const
{
    QString said = text.trimmed();
    said.replace(u',', u'.');
    const QString kept = Apply(said);
    if (kept == said)
        return true;
    // Only decimals past the field's limit may be missing, at the end.
    if (!kept.contains(u'.') || !said.startsWith(kept))
        return false;
    for (const QChar c : said.mid(kept.size())) {
        if (!IsAsciiDigit(c))
            return false;
    }
    return true;
}

std::optional<double> NumericFieldValue(const QString& kept)
{
    bool ok = false;
    const double value = kept.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString WholePart(const QString& kept)
{
    const qsizetype point = kept.indexOf(u'.');
    return point < 0 ? kept : kept.left(point);
}
