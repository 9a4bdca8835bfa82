#pragma once
// The simulator's option values in words: versions, models, dates, passwords (numbers and HOST:PORT
// are base/'s, shared with zt5ctl).

#include "meter/archive_date.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// "2.5" -> 0x0205 (major in the high byte).
bool ParseVersion(const QString& text, std::uint16_t& version);
// "01".."04.1" -> 0..4.
bool ParseModel(const QString& text, std::uint8_t& model);
// "2024-03-10" or "2024-03-10T14" (hour 0 when left out).
bool ParseArchiveEnd(const QString& text, TChronoArch& date);
// Up to five printable Latin characters: the password field holds five and a terminating zero.
bool ParsePassword(const QString& text, QByteArray& password);
