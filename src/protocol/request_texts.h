#pragma once
// Texts that both the request engine and the 0x48 retry loop of the Modbus master produce.

#include <QString>

#include "base/russian_count.h"

inline QString RetryText(int attempt)
{
    return QString::asprintf("Повтор %d", attempt);
}

// "Выполнена 1 попытка!", "Выполнено 3 попытки!", "Выполнено 5 попыток!": the verb agrees too.
inline QString AttemptsDoneText(int attempts)
{
    const bool one = CountNoun(attempts, kAttemptsForms) == kAttemptsForms.one;
    return QString::fromUtf8(one ? "Выполнена %1!" : "Выполнено %1!").arg(CountText(attempts, kAttemptsForms));
}

inline QString DeviceSilentText(int attempts)
{
    return QString::fromUtf8("Прибор не отвечает на запросы. ") + AttemptsDoneText(attempts);
}
