#pragma once
// Lets GoogleTest print Qt strings as text in failure messages instead of as UTF-16 code units.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& lines, std::ostream* out)
{
    *out << '{';
    for (qsizetype i = 0; i < lines.size(); ++i)
        *out << (i ? ", \"" : "\"") << lines[i].toStdString() << '"';
    *out << '}';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << "hex " << bytes.toHex(' ').toStdString();
}
