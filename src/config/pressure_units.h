#pragma once
// Pressures are stored in MPa. With the unit system "МКС" they are shown and typed in kgf/cm².

#include "config/tunes_record.h"

inline constexpr double kKgfPerMpa = 10.1972;

// The limits of every pressure field: contract pressures and the sensor's upper limit, MPa.
inline constexpr float kPressureMinMpa = 0.0980661f;
inline constexpr float kPressureMaxMpa = 2.5f;

inline double PressureToDisplay(float mpa, unsigned unitSystem)
{
    return unitSystem == kUnitSystemMks ? mpa * kKgfPerMpa : double(mpa);
}

inline float PressureFromDisplay(double shown, unsigned unitSystem)
{
    return static_cast<float>(unitSystem == kUnitSystemMks ? shown / kKgfPerMpa : shown);
}
