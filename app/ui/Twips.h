#pragma once

#include <cmath>

namespace qelvane {

// Window and control measures are kept in twips; the screen is taken at a fixed
// 15 twips per pixel, so stored placements and layout numbers mean the same on
// every screen.
inline constexpr float TwipsPerPixel = 15.0f;

inline int toPixels(float twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline float toTwips(int pixels)
{
    return static_cast<float>(pixels) * TwipsPerPixel;
}

} // namespace qelvane
