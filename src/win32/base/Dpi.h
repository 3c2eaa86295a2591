#pragma once

#include <cmath>

namespace glimra::win32 {

// Twips (1440 an inch) and pixels at one resolution.
struct Dpi {
    int dpi = 96;

    int Px(float twips) const {
        return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / 1440.0f));
    }
    float Twips(int pixels) const {
        return static_cast<float>(pixels) * 1440.0f / static_cast<float>(dpi);
    }
};

}  // namespace glimra::win32
