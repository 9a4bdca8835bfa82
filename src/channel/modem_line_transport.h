#pragma once
// A modem on a serial line ("Модем"): the port is opened in modem mode, the modem dialogue initialises
// and dials, and the data connection then runs like a direct line. The modem's own texts among the
// answers ("NO CARRIER") end the exchange and the connection.

#include "channel/serial_line_transport.h"

class ModemLineTransport : public SerialLineTransport {
public:
    using SerialLineTransport::SerialLineTransport;

    bool Connect(bool& openFailed) override;
    void Disconnect() override;
    int QuietGapMs() const override;
    bool LineDropped(const std::uint8_t* bytes, int count) override;
    bool LineUp() const override;
};
