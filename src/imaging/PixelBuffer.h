#pragma once

#include <cstdint>
#include <vector>

namespace glimra {

// 32-bit pixels, bytes B, G, R, A in memory order (little-endian 0xAARRGGBB), rows top-down,
// no padding.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height
};

}  // namespace glimra
