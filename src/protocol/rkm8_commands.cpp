#include "protocol/rkm8_commands.h"

#include <cstring>

const std::array<double, kStandMeasures> kStandResistances = {51.0, 79.7, 95.1, 110.4, 125.8, 141.2, 232.0, 673.3};
const std::array<double, kStandMeasures> kStandCurrents = {0.025, 1.0, 2.5, 4.0, 5.0, 10.0, 15.0, 20.0};

namespace {

constexpr std::uint8_t kCommandStart = 'W';
constexpr std::uint8_t kResistanceSelector = 'd';
constexpr std::uint8_t kFirstCurrentSelector = 0x60;

int IndexOf(const std::array<double, kStandMeasures>& table, double value)
{
    for (int i = 0; i < kStandMeasures; ++i) {
        if (table[static_cast<std::size_t>(i)] == value)
            return i;
    }
    return -1;
}

StandCommand Command(std::uint8_t selector, int index)
{
    return {kCommandStart, selector, static_cast<std::uint8_t>(index), '\r', '\n'};
}

}  // namespace

int StandResistanceIndex(double ohm)
{
    return IndexOf(kStandResistances, ohm);
}

int StandCurrentIndex(double milliampere)
{
    return IndexOf(kStandCurrents, milliampere);
}

StandCommand ResistanceCommand(int index)
{
    return Command(kResistanceSelector, index);
}

StandCommand CurrentCommand(int output, int index)
{
    return Command(static_cast<std::uint8_t>(kFirstCurrentSelector + output), index);
}

bool StandAnswerOk(const std::uint8_t* answer, int length, const StandCommand& command)
{
    if (!answer || length <= 0)
        return false;
    if (length >= kStandCommandLength && std::memcmp(answer, command.data(), command.size()) == 0) {
        answer += kStandCommandLength;
        length -= kStandCommandLength;
    }
    if (length < 2 || answer[0] != 'O' || answer[1] != 'k')
        return false;
    for (int i = 2; i < length; ++i) {
        if (answer[i] != '\r' && answer[i] != '\n')
            return false;
    }
    return true;
}
