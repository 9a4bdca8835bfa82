#include "channel/modem_step.h"

#include <algorithm>
#include <cstring>

const char* ModemAnswerString(std::int32_t text)
{
    switch (text) {
        case kModemAnswerOk:
            return "\r\nOK\r\n";
        case kModemAnswerOkNumeric:
            return "0\r";
        default:
            return nullptr;
    }
}

ModemStep MakeSpeedSearchStep()
{
    ModemStep step;
    step.kind = kModemStepSpeedSearch;
    return step;
}

ModemStep MakeSetSpeedStep(std::int32_t speed)
{
    ModemStep step;
    step.kind = kModemStepSetSpeed;
    std::memcpy(step.command, &speed, sizeof speed);
    return step;
}

ModemStep MakeCommandStep(const char* command, std::int32_t expected1, std::int32_t expected2, std::int32_t timeoutMs,
                          std::int32_t attempts)
{
    ModemStep step;
    step.kind = kModemStepCommand;
    const std::size_t length = std::min(std::strlen(command), sizeof step.command - 1);
    std::memcpy(step.command, command, length);
    step.expected1 = expected1;
    step.expected2 = expected2;
    step.timeoutMs = timeoutMs;
    step.attempts = attempts;
    return step;
}

std::int32_t StepSpeed(const ModemStep& step)
{
    std::int32_t speed = 0;
    std::memcpy(&speed, step.command, sizeof speed);
    return speed;
}

std::vector<ModemStep> StandardModemScript(std::int32_t modemType)
{
    if (modemType != kModemTypeGsm)
        return {};
    return {
        MakeSpeedSearchStep(),
        MakeCommandStep("ATZ\r", kModemAnswerOk, kModemAnswerOkNumeric, 1500, 3),
        MakeCommandStep("ATE0\r", kModemAnswerOk, kModemAnswerOkNumeric, 1500, 2),
        MakeCommandStep("ATV1\r", kModemAnswerOk, kModemAnswerNone, 1500, 2),
    };
}
