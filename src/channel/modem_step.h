#pragma once
// One step of a modem script and the standard scripts per modem type. A step is a plain 60-byte record:
// the speed search, setting the port speed, or an AT command with the answers it expects.

#include <cstdint>
#include <vector>

enum ModemStepKind : std::int32_t {
    kModemStepSpeedSearch = 0,
    kModemStepSetSpeed = 1,
    kModemStepCommand = 2,
};

// The answers a step may expect, stored in a step by number (0: none).
enum ModemAnswerText : std::int32_t {
    kModemAnswerNone = 0,
    kModemAnswerOk = 1,         // "\r\nOK\r\n", the verbose form
    kModemAnswerOkNumeric = 2,  // "0\r", the numeric form
};

// The text behind a ModemAnswerText, or nullptr for none (and for an unknown number).
const char* ModemAnswerString(std::int32_t text);

#pragma pack(push, 1)
struct ModemStep {
    std::int32_t kind = kModemStepCommand;
    // A NUL-terminated command, or for kModemStepSetSpeed a 32-bit speed in the first four bytes.
    char command[40] = {};
    std::int32_t expected1 = kModemAnswerNone;
    std::int32_t expected2 = kModemAnswerNone;
    std::int32_t timeoutMs = 0;
    std::int32_t attempts = 0;
};
#pragma pack(pop)
static_assert(sizeof(ModemStep) == 60, "a modem step is a 60-byte record");

ModemStep MakeSpeedSearchStep();
ModemStep MakeSetSpeedStep(std::int32_t speed);
// `command` is cut to 39 bytes so that the terminating NUL always fits.
ModemStep MakeCommandStep(const char* command, std::int32_t expected1, std::int32_t expected2, std::int32_t timeoutMs,
                          std::int32_t attempts);
std::int32_t StepSpeed(const ModemStep& step);

// The modem types of the channel settings.
enum ModemType : std::int32_t {
    kModemTypeGsm = 0,
    kModemTypeWired = 1,
    kModemTypeUser = 2,
};

// The script Initialise runs for the modem type: the GSM script for type 0, nothing for any other.
std::vector<ModemStep> StandardModemScript(std::int32_t modemType);
