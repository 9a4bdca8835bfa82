#pragma once
// A count as a progress bar's int: a bar takes int, counts are qint64. No count comes near the limit,
// but one that did would be cut rather than wrapped.

#include <QtGlobal>

#include <algorithm>
#include <limits>

inline int BarValue(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}
