#pragma once
// ChannelExchange: what the meter driver and the stand link do alike with their channel. One request
// and its answer with retries while the device stays silent or its answers arrive broken, and the
// exchange-monitor line of every block of wire bytes (a lamp flash, the head the channel names, the
// bytes in hex). The two differ only in what the style says; the final verdict of a failed request
// (which text, which box) stays with each of them.

#include <QString>

#include <cstdint>

class CTransmitChanel;
class ChannelOwner;
class DriverHost;

class ChannelExchange {
public:
    struct Style {
        QString monitorPrefix;       // put before every monitor line ("РКМ8")
        const char* ownerName;       // in the text of a block whose head the channel cannot name
        bool answerClearsRetryText;  // an answer takes a "Повтор %d" from the connection text
    };
    // How the attempts of a request that got no answer went.
    struct Tally {
        int silent = 0;   // nothing but the echo came
        int damaged = 0;  // something came that was no valid answer
    };

    // The owner logs, shows and may ask to stop; both must outlive this object.
    ChannelExchange(CTransmitChanel& channel, ChannelOwner& owner, Style style);

    // Where lamps and connection texts go; null: nowhere. `showProgress` as the owner's flag.
    void AttachHost(DriverHost* host, bool showProgress);

    // Writes the request (a length of 0 only listens) and reads the answer into `answer`, up to
    // `attempts` times. 1 answered; 0 every attempt failed, as `tally` says; -1 stopped or failed
    // (already logged or reported).
    int Exchange(const std::uint8_t* request, std::uint16_t requestLength, std::uint8_t* answer,
                 std::uint16_t& answerLength, int attempts, int timeoutMs, Tally& tally);

    // The monitor line of one block the channel's transport sent or received.
    void MonitorBlock(bool transmitted, const std::uint8_t* bytes, int count);

private:
    void SetConnectionText(const QString& text);

    CTransmitChanel& m_channel;
    ChannelOwner& m_owner;
    Style m_style;
    DriverHost* m_host = nullptr;
    bool m_showProgress = false;
};
