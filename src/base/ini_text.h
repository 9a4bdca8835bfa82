#pragma once
// The text form of the settings store: UTF-8 lines of "[section]" and "key=value".
//
//   [Settings\Settings]
//   UseWorkFolder=1
//   WorkFolderPath=/home/user/zt5
//   Note=" two spaces and a line\nbreak "
//
// Section names are taken verbatim between the brackets, backslashes included. A value is the rest of
// the line, trimmed. A value that would not survive that (surrounding blanks, control characters, a
// leading quote) is written in double quotes with backslash escapes: \\ \" \n \r \t \xHH. Reading is
// forgiving: blank lines, comments (";" or "#"), lines without "=", keys outside a section and the
// keys under a broken section line are skipped; the first of two equal keys wins.

#include <QByteArray>
#include <QList>
#include <QString>

struct IniEntry {
    QString key;
    QString value;
};

struct IniSection {
    QString name;
    QList<IniEntry> entries;
};

QList<IniSection> ParseIniText(const QByteArray& text);

// Lookups as the store makes them: names compared without regard to case. Null / -1 when absent.
IniSection* FindIniSection(QList<IniSection>& sections, const QString& name);
const IniSection* FindIniSection(const QList<IniSection>& sections, const QString& name);
qsizetype FindIniKey(const IniSection& section, const QString& key);
QByteArray WriteIniText(const QList<IniSection>& sections);

// The value as it stands after "key=".
QString EncodeIniValue(const QString& value);
QString DecodeIniValue(const QString& text);

// Names that the text form can hold: no line breaks or control characters, no "=" in a key, no "]"
// in a section, not empty once trimmed and without surrounding blanks.
bool IsValidIniKey(const QString& key);
bool IsValidIniSection(const QString& name);
