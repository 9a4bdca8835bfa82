#pragma once
// The operating system's own message text for an error code, as reports show it.

#include <QString>

QString SystemErrorText(int code);
