#pragma once

#include <cstdint>
#include <random>

namespace glimra {

// Uniform numbers in [0, 1).
class Random {
  public:
    virtual ~Random() = default;
    virtual double Next() = 0;
};

// The program's generator: seeded once at start, so each run draws its own sequence.
class SeededRandom : public Random {
  public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    // 53 random bits scaled into [0, 1): never 1, whatever the rounding.
    double Next() override { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

  private:
    std::mt19937_64 engine_;
};

}  // namespace glimra
