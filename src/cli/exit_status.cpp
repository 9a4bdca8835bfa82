#include "cli/exit_status.h"

#include <csignal>

ExitCode DriverFailureCode(ExchangeFailure failure, bool questionRefused, bool noLine)
{
    if (questionRefused || failure == ExchangeFailure::kException)
        return kExitRefused;
    if (failure == ExchangeFailure::kNoAnswer || noLine)
        return kExitNoAnswer;
    return kExitRefused;
}

int FinalExitStatus(int commandCode, int stopSignal, bool outputFailed)
{
    if (stopSignal != 0 && commandCode != kExitOk)
        return stopSignal == SIGTERM ? kExitSigterm : kExitSigint;
    if (outputFailed && (commandCode == kExitOk || commandCode == kExitPartial))
        return kExitFile;
    return commandCode;
}

QString ExitStatusHelp()
{
    return QStringLiteral(
        "Коды завершения: 0 - выполнено; 1 - выполнено частично (недостает записей или приборов, остальное "
        "выполнено); 2 - ошибка в командной строке; 3 - нет связи или прибор не ответил; 4 - отказ: прибора "
        "(код исключения, нет доступа, другая модель) или проверки перед записью; 5 - ошибка файла или базы "
        "данных (не удалось прочитать, записать или создать, диск заполнен); 130 и 143 - остановлено "
        "сигналом SIGINT или SIGTERM (записанное остается). current --repeat, остановленная сигналом, "
        "завершается с кодом 0.");
}
