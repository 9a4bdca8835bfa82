#pragma once
// Texts that both the request engine and the 0x48 retry loop of the Modbus master produce.

#include <QString>

inline QString RetryText(int attempt)
{
    return QString::asprintf("Повтор %d", attempt);
}

inline QString DeviceSilentText(int attempts)
{
    return QString::asprintf("Прибор не отвечает на запросы. Выполнено %d попыток!", attempts);
}
