#include "channel/system_error.h"

#include <cstring>

QString SystemErrorText(int code)
{
    char buffer[256];
    // The GNU variant returns the text, which may or may not live in `buffer`; thread-safe unlike strerror.
    const char* text = ::strerror_r(code, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}
