#pragma once
// The decimals the configuration pages keep: pressures to 5, the contract temperature to 3.

#include "base/numeric_field_rule.h"

inline constexpr NumericFieldRule kPressureFieldRule{false, 5};
inline constexpr NumericFieldRule kContractTemperatureRule{false, 3};
