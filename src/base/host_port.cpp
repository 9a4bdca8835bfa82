#include "base/host_port.h"

#include "base/number_option.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace {

constexpr int kHighestPort = 65535;

bool IsIpv6Literal(const QString& host)
{
    in6_addr address{};
    return inet_pton(AF_INET6, host.toLatin1().constData(), &address) == 1;
}

}  // namespace

QString ParseHostPort(const QString& text, int lowestPort, HostPort& place)
{
    QString host;
    QString port;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return QStringLiteral("нет скобки \"]\" после адреса IPv6");
        host = text.mid(1, close - 1);
        if (host.isEmpty())
            return QStringLiteral("в скобках нет адреса");
        if (!IsIpv6Literal(host))
            return QStringLiteral("%1 - не адрес IPv6").arg(host);
        if (text.mid(close + 1, 1) != QLatin1String(":"))
            return QStringLiteral("после \"]\" нужен :ПОРТ");
        port = text.mid(close + 2);
    } else {
        const qsizetype colon = text.lastIndexOf(u':');
        if (colon < 0)
            return QStringLiteral("нет порта: нужно АДРЕС:ПОРТ");
        host = text.left(colon);
        port = text.mid(colon + 1);
        if (host.isEmpty())
            return QStringLiteral("нет адреса перед :ПОРТ");
        if (host.contains(u':'))
            return QStringLiteral("адрес IPv6 пишется в квадратных скобках: [%1]:ПОРТ").arg(host);
    }
    if (port.isEmpty())
        return QStringLiteral("нет порта после \":\"");
    const std::optional<qint64> number = ParseNumberInRange(port, lowestPort, kHighestPort);
    if (!number)
        return QStringLiteral("порт %1 - не число %2..%3").arg(port).arg(lowestPort).arg(kHighestPort);
    place = HostPort{host, int(*number)};
    return {};
}

QString HostPortText(const HostPort& place)
{
    const QString host = place.host.contains(u':') ? QStringLiteral("[%1]").arg(place.host) : place.host;
    return QStringLiteral("%1:%2").arg(host).arg(place.port);
}
