#include "imaging/DecodeScale.h"

namespace glimra {

std::pair<int, int> ReducedDecodeSize(int width, int height, int targetWidth, int targetHeight) {
    for (int divisor : {8, 4, 2}) {
        const int w = width / divisor + (width % divisor != 0);
        const int h = height / divisor + (height % divisor != 0);
        if (w >= targetWidth && h >= targetHeight) return {w, h};
    }
    return {width, height};
}

}  // namespace glimra
