#include "imaging/DecodeScale.h"

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
    // In float and in this order, so that the size agrees with where the picture is placed.
    float w = static_cast<float>(width), h = static_cast<float>(height);
    const float W = static_cast<float>(boxWidth), H = static_cast<float>(boxHeight);
    if (w > W) {
        h = h * W / w;
        w = W;
    }
    if (h > H) {
        w = w * H / h;
        h = H;
    }
    return {WholePixels(w), WholePixels(h)};
}

}  // namespace glimra
