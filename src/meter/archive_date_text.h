#pragma once
// A date typed on a command line for the archives: what is wrong with it, in words that name the text
// and the fault ("2026-02-30: в феврале 2026 года 28 дней", "2026-13-01: месяца 13 нет"), so a typing
// error is not answered with the expected form alone.

#include <QString>

enum class ArchiveDateForm {
    kHour,   // ГГГГ-ММ-ДД or ГГГГ-ММ-ДДTЧЧ
    kMonth,  // ГГГГ-ММ
};

// Empty when `text` is a date of that form the meter's archives can hold.
QString ArchiveDateTextProblem(const QString& text, ArchiveDateForm form);
