#include "base/value_text.h"

const ValueText* FindValueText(ValueTexts table, unsigned value)
{
    for (const ValueText& entry : table) {
        if (entry.value == value)
            return &entry;
    }
    return nullptr;
}

QString TextOf(ValueTexts table, unsigned value, const char* fallback)
{
    const ValueText* entry = FindValueText(table, value);
    return QString::fromUtf8(entry ? entry->text : fallback);
}

QString TextOf(ValueTexts table, unsigned value, const QString& fallback)
{
    const ValueText* entry = FindValueText(table, value);
    return entry ? QString::fromUtf8(entry->text) : fallback;
}

QString ShortTextOf(ValueTexts table, unsigned value, const char* fallback)
{
    const ValueText* entry = FindValueText(table, value);
    if (!entry)
        return QString::fromUtf8(fallback);
    return QString::fromUtf8(entry->shortText ? entry->shortText : entry->text);
}
