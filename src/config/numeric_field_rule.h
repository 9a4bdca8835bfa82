#pragma once
// How the numeric fields of the configuration pages take what the user types: digits and one decimal
// point, a minus only as the first character of a field that may be negative, and no more decimals than
// the field keeps. The first character that breaks the rule goes at once; the rest of the text stays.

#include <QString>

#include <optional>

struct NumericFieldRule {
    bool allowNegative = false;
    int maxDecimals = -1;  // -1: no limit; 0: whole numbers only

    // What the field keeps of `typed`.
    QString Apply(const QString& typed) const;
};

// The value of a kept text; nothing while it is not a number yet ("", "-", ".").
std::optional<double> NumericFieldValue(const QString& kept);

inline constexpr NumericFieldRule kPressureFieldRule{false, 5};
inline constexpr NumericFieldRule kContractTemperatureRule{false, 3};
