#pragma once
#include <QString>

// A count and its noun in Russian agree by the count's last digits: "1 попытка", "3 попытки", "5 попыток",
// "11 попыток", "21 попытка". One table of the three forms a noun, one rule for all of them.
struct CountForms {
    const char* one;   // 1, 21, 31 ...
    const char* few;   // 2-4, 22-24 ...
    const char* many;  // 0, 5-20, 25-30 ...
};

inline constexpr CountForms kBytesForms{"байт", "байта", "байт"};
inline constexpr CountForms kAttemptsForms{"попытка", "попытки", "попыток"};
inline constexpr CountForms kRecordsForms{"запись", "записи", "записей"};

// The noun's form for a count (UTF-8, as the table holds it).
const char* CountNoun(long long count, const CountForms& forms);
// "24 байта".
QString CountText(long long count, const CountForms& forms);
