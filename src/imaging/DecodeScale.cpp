#include "imaging/DecodeScale.h"

#include "imaging/PictureFit.h"

#include <climits>
#include <cmath>

namespace glimra {
namespace {

int WholePixels(float size) {
    const double whole = std::ceil(static_cast<double>(size));
    if (!(whole >= 1)) return 1;
    return whole >= INT_MAX ? INT_MAX : static_cast<int>(whole);
}

}  // namespace

std::pair<int, int> ReducedDecodeSize(int width, int height, int targetWidth, int targetHeight) {
    for (int divisor : {8, 4, 2}) {
        const int w = width / divisor + (width % divisor != 0);
        const int h = height / divisor + (height % divisor != 0);
        if (w >= targetWidth && h >= targetHeight) return {w, h};
    }
    return {width, height};
}

std::pair<int, int> FittedSize(int width, int height, int boxWidth, int boxHeight) {
    // The window's own rule, so that the kept size agrees with where the picture is placed.
    const Placement fitted =
        FitAndCentre(static_cast<float>(width), static_cast<float>(height),
                     static_cast<float>(boxWidth), static_cast<float>(boxHeight));
    return {WholePixels(fitted.width), WholePixels(fitted.height)};
}

}  // namespace glimra
