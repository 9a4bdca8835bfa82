#include "meter/archive_date_text.h"

#include "meter/archive_date.h"

#include <QRegularExpression>

namespace {

// "в феврале": the month in the prepositional case.
const char* const kMonthsIn[] = {"январе", "феврале", "марте",    "апреле",  "мае",    "июне",
                                 "июле",   "августе", "сентябре", "октябре", "ноябре", "декабре"};

// The year byte 0xFF marks an empty record, so the last year a record can hold is one before it.
constexpr int kLastYear = kBaseYear + kEmptyYear - 1;

QString DaysText(int days)
{
    return QStringLiteral("%1 %2").arg(days).arg(days == 31 ? QStringLiteral("день") : QStringLiteral("дней"));
}

}  // namespace

QString ArchiveDateTextProblem(const QString& text, ArchiveDateForm form)
{
    static const QRegularExpression kHourForm(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:T(\\d{2}))?$"));
    static const QRegularExpression kMonthForm(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const bool monthOnly = form == ArchiveDateForm::kMonth;
    const QRegularExpressionMatch match = (monthOnly ? kMonthForm : kHourForm).match(text);
    if (!match.hasMatch())
        return QStringLiteral("%1: дата пишется как %2")
            .arg(text, monthOnly ? QStringLiteral("ГГГГ-ММ") : QStringLiteral("ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ"));
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    if (year < kBaseYear || year > kLastYear)
        return QStringLiteral("%1: год %2 вне архивов прибора (%3..%4)")
            .arg(text)
            .arg(year)
            .arg(kBaseYear)
            .arg(kLastYear);
    if (month < 1 || month > 12)
        return QStringLiteral("%1: месяца %2 нет").arg(text).arg(month);
    if (monthOnly)
        return {};
    const int day = match.captured(3).toInt();
    const int days = MonthLength(month, std::uint8_t(year - kBaseYear));
    if (day < 1 || day > days)
        return QStringLiteral("%1: в %2 %3 года %4")
            .arg(text, QString::fromUtf8(kMonthsIn[month - 1]))
            .arg(year)
            .arg(DaysText(days));
    if (!match.captured(4).isEmpty() && match.captured(4).toInt() > 23)
        return QStringLiteral("%1: часа %2 нет (0..23)").arg(text, match.captured(4));
    return {};
}
