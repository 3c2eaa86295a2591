#include "imaging/LightCurve.h"

#include <algorithm>
#include <cmath>

namespace glimra {

LightCurve::LightCurve(const std::function<double(double)>& toLinear) : toEncoded_(kSteps) {
    for (int v = 0; v < 256; ++v)
        toLinear_[v] = static_cast<float>(std::clamp(toLinear(v / 255.0), 0.0, 1.0));
    // Stored value v is the nearest to every light between the light of v - 0.5 and of v + 0.5:
    // those midpoints, made never to decrease, are the steps of the way back.
    std::array<double, 255> midpoints;
    double highest = 0;
    for (int v = 0; v < 255; ++v) {
        highest = std::max(highest, std::clamp(toLinear((v + 0.5) / 255.0), 0.0, 1.0));
        midpoints[v] = highest;
    }
    int value = 0;
    for (int i = 0; i < kSteps; ++i) {
        const double light = static_cast<double>(i) / (kSteps - 1);
        while (value < 255 && midpoints[value] <= light)
            ++value;
        toEncoded_[i] = static_cast<std::uint8_t>(value);
    }
}

double LightCurve::SrgbToLinear(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

const LightCurve& LightCurve::Srgb() {
    static const LightCurve srgb(&SrgbToLinear);
    return srgb;
}

std::uint8_t LightCurve::Encoded(float linear) const {
    const float step = std::clamp(linear, 0.0f, 1.0f) * (kSteps - 1) + 0.5f;
    return toEncoded_[static_cast<std::size_t>(step)];
}

}  // namespace glimra
