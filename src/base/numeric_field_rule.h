#pragma once
// How a numeric field takes what the user types: digits and one decimal point, a minus only as the
// first character of a field that may be negative, and no more digits than the field keeps. The first
// character that breaks the rule goes at once; the rest of the text stays.
//
// A comma is a decimal point, shown as a point: Russian keyboards give one, and dropping it would make
// "6,5" into 65, a number in range that nothing could tell from a typed one. A whole-number field keeps
// the point as the end of its number and nothing after it ("6,5" becomes "6."), for the same reason.

#include <QString>

#include <optional>

struct NumericFieldRule {
    bool allowNegative = false;
    int maxDecimals = -1;  // -1: no limit; 0: whole numbers
    int maxDigits = -1;    // digits before the point; -1: no limit
    int maxValue = -1;     // a whole part above it loses its last digits until it fits; -1: no limit

    // What the field keeps of `typed`.
    QString Apply(const QString& typed) const;

    // Whether the rule keeps the number `text` says: nothing dropped but blanks around it and decimals
    // beyond the field's limit. A text pasted whole that fails this would become another number.
    bool KeepsNumberOf(const QString& text) const;
};

// The value of a kept text; nothing while it is not a number yet ("", "-", ".").
std::optional<double> NumericFieldValue(const QString& kept);

// The digits of a kept text before its point ("6." gives "6"): what a whole-number field holds.
QString WholePart(const QString& kept);

// A byte as typed: at most three digits, and a value above 255 cut back to its first two.
inline constexpr NumericFieldRule kByteFieldRule{false, 0, 3, 255};
