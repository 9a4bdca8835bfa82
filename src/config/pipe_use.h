#pragma once
// Which quantities a pipe of a thermal input takes part in: the scheme's masks, and for pipe 3 what
// КТ3 gives it (t3 with КТ3 2 or 3, V3 with 1 or 3, P3 with t3 or, from firmware level 517, with any
// КТ3 other than 0). The checks, the pipes page and the settings report all go by it.

#include "config/scheme_table.h"

struct PipeUse {
    bool temperature;
    bool pressure;
    bool volume;
};

// `pipe` counts from 0.
PipeUse UseOfPipe(const SchemeEntry& scheme, unsigned kt3, bool pressureWithAnyKt3, int pipe);
