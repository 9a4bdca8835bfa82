#pragma once
// How much archive the simulated meter starts with.

#include "meter/archive_date.h"

struct ArchiveSpan {
    int days = 92;          // archive length before the end, in days
    bool fixedEnd = false;  // false: the archives follow the meter's clock
    TChronoArch end{};      // with fixedEnd: the newest hourly record
};
