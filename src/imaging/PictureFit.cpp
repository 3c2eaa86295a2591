#include "imaging/PictureFit.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace glimra {
namespace {

// Twips to the nearest whole pixel; what no screen has (NaN, beyond int) is held to the range.
int NearestPixel(float twips, float twipsPerPixel) {
    const float pixels = twips / twipsPerPixel;
    if (!(pixels > INT_MIN / 2)) return pixels > 0 ? INT_MAX / 2 : INT_MIN / 2;
    if (pixels >= INT_MAX / 2) return INT_MAX / 2;
    return static_cast<int>(std::lround(pixels));
}

}  // namespace

PixelRect PixelsOf(const Placement& twips, float twipsPerPixelX, float twipsPerPixelY) {
    const int left = NearestPixel(twips.left, twipsPerPixelX);
    const int top = NearestPixel(twips.top, twipsPerPixelY);
    const int width = std::max(1, NearestPixel(twips.width, twipsPerPixelX));
    const int height = std::max(1, NearestPixel(twips.height, twipsPerPixelY));
    return {left, top, left + width, top + height};
}

PixelRect ShownRect(int w, int h, int W, int H, float twipsPerPixelX, float twipsPerPixelY) {
    // The same single-precision steps as the window: sizes in twips, fitted, then to pixels.
    const Placement place = FitAndCentre(
        static_cast<float>(w) * twipsPerPixelX, static_cast<float>(h) * twipsPerPixelY,
        static_cast<float>(W) * twipsPerPixelX, static_cast<float>(H) * twipsPerPixelY);
    return PixelsOf(place, twipsPerPixelX, twipsPerPixelY);
}

}  // namespace glimra
