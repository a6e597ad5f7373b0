#include "qt_scale.hpp"

#include <cmath>
#include <cstdlib>
#include <string>

#include "environment.hpp"

namespace desktop {

namespace {

// A positive number from the whole of text, or 0.
double positiveNumber(const std::string& text) {
    if (text.empty()) return 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value) && value > 0 ? value : 0;
}

// Qt reads these switches as whole numbers; below 1 turns the scaling off.
bool turnedOff(const char* name) {
    const std::string value = environment(name);
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    return !value.empty() && *end == '\0' && number < 1;
}

// The first screen's entry of QT_SCREEN_SCALE_FACTORS ("2;1" or
// "DP-1=2;HDMI-1=1"), or 0 when it names none.
double firstScreenFactor() {
    std::string first = environment("QT_SCREEN_SCALE_FACTORS");
    first = first.substr(0, first.find(';'));
    return positiveNumber(first.substr(first.find('=') + 1));
}

// Qt 5 rounds the desktop's scale to a whole number by default, so that
// 150 % draws at 2; never below 1.
double rounded(double scale) {
    const std::string policy = environment("QT_SCALE_FACTOR_ROUNDING_POLICY");
    if (policy == "PassThrough") return scale;
    double whole = std::round(scale);
    if (policy == "Ceil") whole = std::ceil(scale);
    if (policy == "Floor") whole = std::floor(scale);
    if (policy == "RoundPreferFloor") whole = scale - std::floor(scale) < 0.75 ? std::floor(scale) : std::ceil(scale);
    return whole < 1 ? 1 : whole;
}

}  // namespace

double qtPixelRatio(double outputScale, double dpiScale) {
    double screen = firstScreenFactor();
    if (screen == 0) {
        const bool scaling = !turnedOff("QT_ENABLE_HIGHDPI_SCALING") && !turnedOff("QT_AUTO_SCREEN_SCALE_FACTOR");
        screen = scaling ? rounded(dpiScale) : 1;
    }
    const double global = positiveNumber(environment("QT_SCALE_FACTOR"));
    return outputScale * screen * (global > 0 ? global : 1);
}

}  // namespace desktop
