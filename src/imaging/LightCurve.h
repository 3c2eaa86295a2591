#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace glimra {

// How a picture's stored 8-bit numbers relate to the light they stand for: a table from each
// number to its linear light (0 to 1), and one back from linear light, in 16,384 steps (14
// bits, small enough to stay in the processor's nearest cache), to the number nearest to it.
// Reductions average light through these, not the numbers themselves.
class LightCurve {
  public:
    static constexpr int kSteps = 16384;

    // `toLinear` maps a stored value in 0..1 to light in 0..1 and must not decrease.
    explicit LightCurve(const std::function<double(double)>& toLinear);

    // The curve of sRGB, which is also what untagged pictures are taken to be in.
    static const LightCurve& Srgb();
    static double SrgbToLinear(double encoded);

    const float* LinearTable() const { return toLinear_.data(); }
    const std::uint8_t* EncodedTable() const { return toEncoded_.data(); }

    float Linear(std::uint8_t value) const { return toLinear_[value]; }
    // The stored value nearest to `linear` light, clamped to 0..1.
    std::uint8_t Encoded(float linear) const;

  private:
    std::array<float, 256> toLinear_;
    std::vector<std::uint8_t> toEncoded_;  // kSteps entries
};

}  // namespace glimra
