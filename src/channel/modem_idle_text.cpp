#include "channel/modem_idle_text.h"

#include "channel/channel_types.h"
#include "channel/serial_port.h"

QByteArray ReadModemIdleText(CCommPortClass& port, int capacity)
{
    QByteArray text(capacity > 0 ? capacity : 0, '\0');
    int length = 0;
    if (!port.IsOpen())
        return {};
    while (length < text.size()) {
        auto* room = reinterpret_cast<std::uint8_t*>(text.data()) + length;
        if (port.Read(room, static_cast<int>(text.size()) - length, length, kModemIdleQuietMs) != kTransportOk)
            break;
    }
    text.truncate(length);
    return text;
}
