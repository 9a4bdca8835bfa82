#pragma once
// Code-to-text tables: a small constant array of {value, text, short text} per enumeration, and the one
// lookup that turns a value into its text or, for a value the table lacks, a fallback text.
//
//   constexpr ValueText kSides[] = {{0, "Слева"}, {1, "Справа"}};
//   TextOf(kSides, side, "?");

#include <QString>
#include <span>

struct ValueText {
    unsigned value;
    const char* text;                 // UTF-8; as lists and messages show it
    const char* shortText = nullptr;  // as a narrow report column prints it; null when it is the text
};

using ValueTexts = std::span<const ValueText>;

// The entry for `value`, or null when the table has none (an invalid stored value).
const ValueText* FindValueText(ValueTexts table, unsigned value);
// Its text (or short text); `fallback` for a value the table lacks.
QString TextOf(ValueTexts table, unsigned value, const char* fallback = "");
QString TextOf(ValueTexts table, unsigned value, const QString& fallback);
QString ShortTextOf(ValueTexts table, unsigned value, const char* fallback = "");
