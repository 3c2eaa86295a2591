#include "win32/painting/Contrast.h"

#include <algorithm>
#include <cmath>

namespace glimra::win32 {
namespace {

double Luminance(COLORREF color) {
    const auto channel = [](BYTE value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(color)) + 0.7152 * channel(GetGValue(color)) +
           0.0722 * channel(GetBValue(color));
}

}  // namespace

double ContrastOf(COLORREF a, COLORREF b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace glimra::win32
