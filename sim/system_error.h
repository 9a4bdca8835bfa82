#pragma once
// A failed system call told as "what: the system's reason", read from errno at once.

#include <QString>

#include <cerrno>
#include <cstring>

inline QString SystemError(const QString& what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}
