#pragma once

namespace tolvarin {

// The button's events report positions in twips, and its property page is laid out in
// them, at the classic 15 twips per pixel.
inline constexpr int TwipsPerPixel = 15;

} // namespace tolvarin
