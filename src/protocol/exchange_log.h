#pragma once
// The exchange-monitor line of one block of wire bytes:
//   "(0008) COM1 Out ->: 12 мин. :05 с. :042 мс==>>  01 03 00 00 00 13 04 07  "
// The head comes from the channel (CTransmitChanel::MonitorHead).

#include <QString>
#include <QTime>

#include <cstdint>

// The whole line for `count` bytes at the local time `time`.
QString FormatExchangeLine(const QString& head, const QTime& time, const std::uint8_t* bytes, int count);
