#pragma once
// How the node's text fields take what the user types. Each rule maps the whole text of a field to
// what the field keeps, so the editor can apply it after every keystroke.

#include <QString>

#include <optional>

namespace NodeInputRules {

constexpr int kByteNumberDigits = 3;  // network address, repeat time-out, repeat count
constexpr int kIpPortDigits = 5;
constexpr int kPhoneLength = 63;

// Only the digits, at most `maxDigits` of them.
QString Digits(const QString& text, int maxDigits);
// A number that must fit a byte: digits, at most 3; a value of 256 or more is cut back to its first
// two digits.
QString ByteNumber(const QString& text);
// A dial string: digits, ",", "W" and "w", at most 63 characters.
QString PhoneNumber(const QString& text);
// The value of a field of digits (0 when empty).
int NumberOf(const QString& digits);
// "a.b.c.d" with each part 0..255, written without leading zeros; nothing for anything else.
std::optional<QString> DottedQuad(const QString& text);

}  // namespace NodeInputRules
