#pragma once
// The sources are UTF-8: Russian texts are written as plain literals and become QStrings through this.

#include <QString>

inline QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}
