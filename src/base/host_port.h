#pragma once
// "HOST:PORT" as typed on a command line, one reader for every program: an IPv4 address or a name
// before the last ":", an IPv6 literal in brackets ("[::1]:502"). A bad text is answered with what is
// wrong with it, in words for the user.

#include <QString>

struct HostPort {
    QString host;  // without the brackets of an IPv6 literal
    int port = 0;
};

// Reads `text` into `place` when the port lies in lowestPort..65535; else returns what is wrong
// ("нет порта", "порт 70000 - не число 1..65535", ...) and leaves `place` alone.
QString ParseHostPort(const QString& text, int lowestPort, HostPort& place);

// The place as it is typed again: an IPv6 host in brackets.
QString HostPortText(const HostPort& place);
