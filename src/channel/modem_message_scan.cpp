#include "channel/modem_message_scan.h"

#include <cstring>

namespace {

struct ModemMessage {
    const char* modemText;
    const char* text;
};

constexpr ModemMessage kMessages[] = {
    {"NO CARRIER", "Нет несущей"},
    {"NO DIALTONE", "Нет гудка в линии"},
    {"BUSY", "Линия занята"},
};

}  // namespace

const char* FindModemMessage(const std::uint8_t* bytes, int length)
{
    for (int i = 0; i + 1 < length; ++i) {
        if (bytes[i] != '\r' || bytes[i + 1] != '\n')
            continue;
        const int after = i + 2;
        for (const ModemMessage& message : kMessages) {
            const int size = static_cast<int>(std::strlen(message.modemText));
            if (length - after >= size
                && std::memcmp(bytes + after, message.modemText, static_cast<std::size_t>(size)) == 0)
                return message.text;
        }
    }
    return nullptr;
}
