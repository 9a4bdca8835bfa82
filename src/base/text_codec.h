#pragma once
// Windows-1251 <-> Unicode at the boundary of binary records and of the text files the program writes.
// Texts live as UTF-8 QString in memory; only bytes that leave or enter the program are 8-bit.
// A built-in table keeps the result identical on every Qt build (not all of them carry this codec).

#include <QByteArray>
#include <QString>

// Every byte maps to one character; the one unassigned byte (0x98) becomes U+FFFD.
QString DecodeWindows1251(const char* bytes, qsizetype size);
QString DecodeWindows1251(const QByteArray& bytes);

// Characters the code page lacks are written as '?'; `lossless` (optional) says whether any were.
QByteArray EncodeWindows1251(const QString& text, bool* lossless = nullptr);
