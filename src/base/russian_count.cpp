#include "base/russian_count.h"

const char* CountNoun(long long count, const CountForms& forms)
{
    const long long n = count < 0 ? -count : count;
    const long long lastTwo = n % 100;
    const long long last = n % 10;
    if (lastTwo >= 11 && lastTwo <= 14)
        return forms.many;
    if (last == 1)
        return forms.one;
    if (last >= 2 && last <= 4)
        return forms.few;
    return forms.many;
}

QString CountText(long long count, const CountForms& forms)
{
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(CountNoun(count, forms));
}
