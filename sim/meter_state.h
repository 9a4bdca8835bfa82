#pragma once
// What the simulated meter keeps in its working memory besides the register image.

struct MeterState {
    int activeSet = 0;               // 0 = БД1, 1 = БД2
    bool calibrationLocked = false;  // "Запрет калибровок" until the meter restarts
};
