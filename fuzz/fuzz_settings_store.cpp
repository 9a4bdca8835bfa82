// The settings store's text of any bytes: the reader takes what it can and skips the rest; what it
// took, written and read again, is the same (sections without keys are not written); every value
// survives its own encoding.

#include "base/ini_text.h"

#include <QByteArray>

#include <cstdlib>

namespace {

// Sections without keys are not written: they are left out of the comparison.
QList<IniSection> WithKeys(const QList<IniSection>& sections)
{
    QList<IniSection> kept;
    for (const IniSection& section : sections) {
        if (!section.entries.isEmpty())
            kept.append(section);
    }
    return kept;
}

bool SameSections(const QList<IniSection>& a, const QList<IniSection>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].entries.size() != b[i].entries.size())
            return false;
        for (qsizetype j = 0; j < a[i].entries.size(); ++j) {
            if (a[i].entries[j].key != b[i].entries[j].key || a[i].entries[j].value != b[i].entries[j].value)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<IniSection> sections = ParseIniText(text);
    if (!SameSections(ParseIniText(WriteIniText(sections)), WithKeys(sections)))
        std::abort();
    const QString value = QString::fromUtf8(text);
    if (DecodeIniValue(EncodeIniValue(value)) != value)
        std::abort();
    for (const IniSection& section : sections) {
        FindIniSection(sections, section.name);
        for (const IniEntry& entry : section.entries)
            FindIniKey(section, entry.key);
    }
    return 0;
}
