#pragma once

#include <cmath>

namespace tolvarin {

// The classic conversions to whole numbers: to the nearest, halves to the even one.
inline int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace tolvarin
