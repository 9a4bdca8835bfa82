#pragma once
// The exchange-monitor line of one block of wire bytes:
//   "(0008) COM1 Out ->: 12 мин. :05 с. :042 мс==>>  01 03 00 00 00 13 04 07  "
// The head names the count and the channel; received heads end with a blank so that "In " lines up
// with "Out".

#include <QString>
#include <QTime>

#include <cstdint>

// What the head needs to know of the channel the block went through.
struct ExchangeChannel {
    int kind = 0;           // ChannelKind
    bool tcp = true;        // IP only: TCP, else UDP
    QString address;        // IP only
    int ipPort = 0;
    int serialPort = 1;     // 1-based COM number, serial line and modem
    int mapNumber = 0;      // zero-based shared-memory link number
};

struct ChannelSettings;
// The part of a channel's settings the head shows.
ExchangeChannel ExchangeChannelOf(const ChannelSettings& settings);

// The head for `count` bytes; an empty text for a kind that has no head.
QString ExchangeHead(bool transmitted, const ExchangeChannel& channel, int count);

// The whole line for `count` bytes at the local time `time`.
QString FormatExchangeLine(const QString& head, const QTime& time, const std::uint8_t* bytes, int count);
