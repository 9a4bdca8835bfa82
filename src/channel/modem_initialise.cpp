// ModemDialer: finding the modem's speed and initialising it for the modem type.

#include "base/message_style.h"
#include "base/utf8_text.h"
#include "channel/channel_owner.h"
#include "channel/channel_settings.h"
#include "channel/channel_types.h"
#include "channel/modem_answer_wait.h"
#include "channel/modem_dialer.h"
#include "channel/serial_port.h"

#include <algorithm>
#include <iterator>

namespace {

QString CommandLogText(const QByteArray& command)
{
    return Utf8("Команда %1").arg(ModemLogText(command));
}

}  // namespace

int ModemDialer::Initialise(const ModemContext& line)
{
    Bind(line);
    if (!m_owner || !m_line)
        return kModemUnexpected;
    const int type = m_line->modemType;
    m_steps = StandardModemScript(type);
    switch (type) {
        case kModemTypeGsm:
            Log(Utf8("Инициализация модема (GSM модем)"));
            return RunScript();
        case kModemTypeWired:
            Log(Utf8("Инициализация модема (проводной модем)"));
            return RunScript();
        case kModemTypeUser:
            return InitialiseUserModem();
        default:
            Report(Utf8("Ошибка выполнения при инициализации модема (неизвестный тип модема)"));
            return kModemUnexpected;
    }
}

int ModemDialer::InitialiseUserModem()
{
    const QString init = m_line->modemInitString;
    Log(Utf8("Инициализация модема командой %1 (пользовательский тип модема)").arg(ModemLogText(init.toLatin1())));
    const char* ok = ModemAnswerString(kModemAnswerOk);
    const char* okNumeric = ModemAnswerString(kModemAnswerOkNumeric);
    struct Command {
        QByteArray text;
        const char* expected2;
        int timeoutMs;
    };
    const Command commands[] = {
        {init.toLatin1() + '\r', okNumeric, kUserInitTimeoutMs},
        {"AT\r", okNumeric, kCommandTimeoutMs},
        {"ATE0\r", nullptr, kCommandTimeoutMs},
        {"ATV1\r", nullptr, kCommandTimeoutMs},
    };
    int result = SearchSpeed();
    for (const Command& command : commands) {
        if (result != kModemOk)
            break;
        result = SendAndWait(CommandLogText(command.text), Scaled(command.timeoutMs), command.text, ok,
                             command.expected2, 0);
    }
    if (result != kModemOk) {
        Report(Utf8("Операция завершена не успешно!"));
        return result;
    }
    Log(Utf8("Операция успешно завершена!"));
    return kModemOk;
}

int ModemDialer::RunScript()
{
    int result = kModemOk;
    for (const ModemStep& step : m_steps) {
        switch (step.kind) {
            case kModemStepSpeedSearch:
                result = SearchSpeed();
                break;
            case kModemStepSetSpeed:
                Log(Utf8("Установка скорости СОМ-порта %1 бит/сек.").arg(StepSpeed(step)));
                result = SetPortSpeed(StepSpeed(step));
                break;
            case kModemStepCommand:
                result = RunCommandStep(step);
                break;
            default:
                result = kModemUnexpected;
                break;
        }
        if (result != kModemOk)
            break;
    }
    Log(result == kModemOk ? Utf8("Операция завершена успешно!") : Utf8("Операция завершена НЕ успешно!"));
    return result;
}

int ModemDialer::RunCommandStep(const ModemStep& step)
{
    const QByteArray command(step.command, static_cast<qsizetype>(qstrnlen(step.command, sizeof step.command)));
    const int attempts = std::max(1, step.attempts);
    for (int attempt = 1;; ++attempt) {
        const int result = SendAndWait(CommandLogText(command), Scaled(step.timeoutMs), command,
                                       ModemAnswerString(step.expected1), ModemAnswerString(step.expected2), 0);
        if (result != kModemNoAnswer)
            return result;
        if (attempt == attempts) {
            Report(Utf8("От модема не был получен ответ на команду \"%1\".\r\nОперация будет прекращена!")
                       .arg(ModemLogText(command)));
            return result;
        }
    }
}

int ModemDialer::SetPortSpeed(int speed)
{
    if (!m_port)
        return kModemUnexpected;
    return m_port->ApplyLineSettings(speed, 8, 0, 0);
}

int ModemDialer::SearchSpeed()
{
    int speeds[1 + std::size(kSearchSpeeds)];
    speeds[0] = m_line->baudRate;  // the port already runs at it
    std::copy(std::begin(kSearchSpeeds), std::end(kSearchSpeeds), speeds + 1);
    const int count = static_cast<int>(std::size(speeds));
    const QByteArray at("AT\r");
    for (int i = 0; i < count; ++i) {
        const int speed = speeds[i];
        if (i > 0) {
            if (const int set = SetPortSpeed(speed); set != kTransportOk) {
                Report(Utf8("Ошибка при установке параметров СОМ порта (код %1)").arg(set));
                return set;
            }
        }
        Log(Utf8("Поиск модема на скорости %1 бит/сек.").arg(speed));
        for (int attempt = 0; attempt < kSendTries; ++attempt) {
            if (const int sent = SendCommand(at, 0); sent != kModemOk)
                return sent;
            const int result = WaitForAnswer(at, ModemAnswerString(kModemAnswerOk),
                                             ModemAnswerString(kModemAnswerOkNumeric), Scaled(kSearchTimeoutMs),
                                             nullptr);
            if (result != kModemNoAnswer)
                return result;
        }
        // A speed that comes twice in a row is not worth a second search.
        if (i + 1 < count && speeds[i + 1] == speed)
            ++i;
    }
    Report(Utf8("Модем не отвечает! Проверьте правильность подключения модема и номер указанного СОМ-порта!"));
    return kModemNoAnswer;
}
