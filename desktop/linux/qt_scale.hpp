#pragma once
// How many screen pixels Qt gives each of its window pixels, worked out
// before Qt starts from what Qt itself reads: the desktop's own scale and
// the user's QT_* settings. OpenCV turns Qt's high-DPI scaling on, so on a
// desktop at 200 % a window pixel covers 2x2 screen pixels.

namespace desktop {

// Qt's device pixel ratio for a window on a screen whose platform scales
// by outputScale (a Wayland output's scale; 1 on X) and whose desktop asks
// for dpiScale (X's Xft.dpi / 96; 1 on Wayland). Qt rounds dpiScale as
// QT_SCALE_FACTOR_ROUNDING_POLICY says (to the nearest whole by default,
// 1.5 up), unless QT_ENABLE_HIGHDPI_SCALING or QT_AUTO_SCREEN_SCALE_FACTOR
// is 0 (then 1); the first of QT_SCREEN_SCALE_FACTORS takes its place as
// given; QT_SCALE_FACTOR multiplies the whole.
double qtPixelRatio(double outputScale, double dpiScale);

}  // namespace desktop
