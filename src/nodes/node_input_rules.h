#pragma once
// How the node's text fields take what the user types. Each rule maps the whole text of a field to
// what the field keeps, so the editor can apply it after every keystroke.

#include "base/numeric_field_rule.h"

#include <QString>

#include <optional>

namespace NodeInputRules {

constexpr int kIpPortDigits = 5;
constexpr int kPhoneLength = 63;

// Network address, repeat time-out and repeat count: a byte, typed as at most 3 digits; a value of 256
// or more is cut back to its first two digits.
inline constexpr NumericFieldRule kByteNumber = kByteFieldRule;
inline constexpr NumericFieldRule kIpPort{false, 0, kIpPortDigits};

// Only the digits, at most `maxDigits` of them.
QString Digits(const QString& text, int maxDigits);
// A dial string: digits, ",", "W" and "w", at most 63 characters.
QString PhoneNumber(const QString& text);
// The value of a whole-number field ("6." is 6; 0 when empty).
int NumberOf(const QString& kept);
// "a.b.c.d" with each part 0..255, written without leading zeros; nothing for anything else.
std::optional<QString> DottedQuad(const QString& text);

}  // namespace NodeInputRules
