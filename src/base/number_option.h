#pragma once
// A number typed as an option's value ("a number from A to B"), read the same way by every program:
// decimal digits only, so "+5", " 5", "5x" and "1e3" are refused instead of taken for something else.

#include <QString>

#include <optional>

enum class NumberNotation {
    kDecimal,
    kHexPrefix,  // also "0x1F": addresses and raw values of the simulated meter
};

std::optional<qint64> ParseNumberInRange(const QString& text, qint64 minimum, qint64 maximum,
                                         NumberNotation notation = NumberNotation::kDecimal);

// "--name ждет число A..B".
QString NumberRangeMessage(const char* option, qint64 minimum, qint64 maximum);
