#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "imaging/PixelBuffer.h"

namespace glimra {

// The EXIF orientation (tag 274) of a JPEG file's contents, 1 to 8; 1 when there is none or the
// data is damaged.
int ExifOrientation(const std::uint8_t* data, std::size_t size);

// The size of a w x h picture once shown upright with this orientation (5 to 8 swap width and
// height).
std::pair<int, int> UprightSize(int width, int height, int orientation);

// The pixels turned upright: orientation 2 mirror, 3 rotate 180, 4 flip vertical, 5 transpose,
// 6 rotate 90 clockwise, 7 transverse, 8 rotate 90 counter-clockwise. Any other orientation, or
// an inconsistent source, gives the source unchanged.
PixelBuffer ApplyOrientation(const PixelBuffer& source, int orientation);
// The same, written into `into`, which holds width * height pixels.
void ApplyOrientation(const PixelBuffer& source, int orientation, std::uint32_t* into);

}  // namespace glimra
