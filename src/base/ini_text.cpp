#include "base/ini_text.h"

#include <utility>

namespace {

bool HasControlCharacter(const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return true;
    }
    return false;
}

bool IsTrimmedName(const QString& name)
{
    return !name.isEmpty() && name.trimmed() == name && !HasControlCharacter(name);
}

int HexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

QString Unescape(QStringView body)
{
    QString value;
    value.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar ch = body[i];
        if (ch != u'\\' || i + 1 == body.size()) {
            value.append(ch);
            continue;
        }
        const QChar next = body[++i];
        switch (next.unicode()) {
            case u'n':
                value.append(u'\n');
                break;
            case u'r':
                value.append(u'\r');
                break;
            case u't':
                value.append(u'\t');
                break;
            case u'x': {
                const int high = i + 2 < body.size() ? HexDigit(body[i + 1]) : -1;
                const int low = high >= 0 ? HexDigit(body[i + 2]) : -1;
                if (low < 0) {
                    value.append(next);  // not an escape after all
                    break;
                }
                value.append(QChar(char16_t(high * 16 + low)));
                i += 2;
                break;
            }
            default:
                value.append(next);
                break;  // \\ and \" and anything unknown
        }
    }
    return value;
}

}  // namespace

const IniSection* FindIniSection(const QList<IniSection>& sections, const QString& name)
{
    for (const IniSection& section : sections) {
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

IniSection* FindIniSection(QList<IniSection>& sections, const QString& name)
{
    return const_cast<IniSection*>(FindIniSection(std::as_const(sections), name));
}

qsizetype FindIniKey(const IniSection& section, const QString& key)
{
    for (qsizetype i = 0; i < section.entries.size(); ++i) {
        if (section.entries[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IsValidIniKey(const QString& key)
{
    return IsTrimmedName(key) && !key.contains(u'=') && !key.startsWith(u'[') && !key.startsWith(u';')
        && !key.startsWith(u'#');
}

bool IsValidIniSection(const QString& name)
{
    return IsTrimmedName(name) && !name.contains(u']');
}

QString EncodeIniValue(const QString& value)
{
    const bool plain = value.trimmed() == value && !value.startsWith(u'"') && !HasControlCharacter(value);
    if (plain)
        return value;
    QString text = QStringLiteral("\"");
    for (const QChar ch : value) {
        switch (ch.unicode()) {
            case u'\\':
                text += QStringLiteral("\\\\");
                break;
            case u'"':
                text += QStringLiteral("\\\"");
                break;
            case u'\n':
                text += QStringLiteral("\\n");
                break;
            case u'\r':
                text += QStringLiteral("\\r");
                break;
            case u'\t':
                text += QStringLiteral("\\t");
                break;
            default:
                if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
                    text += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
                else
                    text += ch;
        }
    }
    text += u'"';
    return text;
}

QString DecodeIniValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"'))
        return Unescape(QStringView(trimmed).mid(1, trimmed.size() - 2));
    return trimmed;
}

QList<IniSection> ParseIniText(const QByteArray& text)
{
    QByteArray bytes = text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<IniSection> sections;
    IniSection* current = nullptr;
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const QString name = line.endsWith(u']') ? line.mid(1, line.size() - 2).trimmed() : QString();
            // Keys under a broken section line belong to no known section: they are dropped too.
            current = nullptr;
            if (!IsValidIniSection(name))
                continue;
            current = FindIniSection(sections, name);
            if (!current) {
                sections.append(IniSection{name, {}});
                current = &sections.last();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!current || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!IsValidIniKey(key) || FindIniKey(*current, key) >= 0)
            continue;
        current->entries.append(IniEntry{key, DecodeIniValue(line.mid(equals + 1))});
    }
    return sections;
}

QByteArray WriteIniText(const QList<IniSection>& sections)
{
    QString text;
    for (const IniSection& section : sections) {
        if (section.entries.isEmpty())
            continue;
        if (!text.isEmpty())
            text += u'\n';
        text += u'[' + section.name + QStringLiteral("]\n");
        for (const IniEntry& entry : section.entries)
            text += entry.key + u'=' + EncodeIniValue(entry.value) + u'\n';
    }
    return text.toUtf8();
}
