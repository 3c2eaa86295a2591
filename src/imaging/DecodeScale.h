#pragma once

#include <utility>

namespace glimra {

// Of the reduced sizes a JPEG decoder can produce (the full size divided by 1, 2, 4 or 8,
// rounded up), the smallest that is still at least targetWidth x targetHeight. Returns the full
// size when none is smaller.
std::pair<int, int> ReducedDecodeSize(int width, int height, int targetWidth, int targetHeight);

}  // namespace glimra
