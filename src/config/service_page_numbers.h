#pragma once
// The numbers typed on the maker's service page: identifiers and serial numbers are whole numbers
// within their field's width, and the arrow keys step a serial number by one, never below 1.

#include <QString>

#include <cstdint>
#include <optional>

// The value of `text` when it is a whole number from 0 to `maximum` (a point may end it); nothing otherwise.
std::optional<std::uint32_t> ServiceNumber(const QString& text, std::uint32_t maximum);

// The serial number `step` (+1 or -1) away from `text`: at least 1, at most 4294967295. A text that is
// no number steps from 0.
QString SteppedSerialText(const QString& text, int step);

// "Недопустимое значение поля \"%1\"!"
QString ServiceFieldRefusal(const QString& label);
