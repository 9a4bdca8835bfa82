#pragma once
// What the simulated meter keeps in its working memory besides the register image.

#include <cstdint>
#include <vector>

struct MeterState {
    int activeSet = 0;               // 0 = БД1, 1 = БД2
    bool calibrationLocked = false;  // "Запрет калибровок" until the meter restarts
    // The calibration service commands taken (65437..65445), in order, for tests to compare.
    std::vector<std::uint16_t> calibrationCommands;
};
