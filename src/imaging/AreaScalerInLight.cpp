// The reduction in light: each stored number made linear light through the curve's table,
// the light averaged in floating point, and made a number again.
#include "imaging/AreaScaler.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace glimra {
namespace {

// A row of linear light, from source column `origin` on, reduced across: band column x is the
// sum of `taps` pixels from source column firstColumn[x] on, each times its share. `Taps` is the
// count when known at compile time, else 0.
template <int Taps>
void ColumnsInLight(const float* linear, int origin, const int* firstColumn, const float* share,
                    int taps, int columns, float* sum) {
    const int count = Taps ? Taps : taps;
    for (int x = 0; x < columns; ++x, sum += 4) {
        const float* p = linear + 4 * static_cast<std::size_t>(firstColumn[x] - origin);
#if defined(__SSE2__)
        // A pixel's four channels are one register: every tap is one multiply and one add.
        __m128 total = _mm_setzero_ps();
        for (int k = 0; k < count; ++k, p += 4, ++share)
            total = _mm_add_ps(total, _mm_mul_ps(_mm_loadu_ps(p), _mm_set1_ps(*share)));
        _mm_storeu_ps(sum, total);
#else
        float total[4] = {};
        for (int k = 0; k < count; ++k, p += 4, ++share)
            for (int c = 0; c < 4; ++c)
                total[c] += p[c] * *share;
        std::copy(total, total + 4, sum);
#endif
    }
}

}  // namespace

void AreaScaler::SumRowInLight(const std::uint8_t* row) {
    const float* linear = light_->LinearTable();
    float* out = linearRow_.data();
    row += static_cast<std::size_t>(sourceBytes_) * sourceBegin_;
    if (sourceBytes_ == 3) {
        for (int x = 0; x < sourceCount_; ++x, row += 3, out += 4) {
            out[0] = linear[row[0]];
            out[1] = linear[row[1]];
            out[2] = linear[row[2]];
            out[3] = 1.0f;
        }
    } else {
        for (int x = 0; x < sourceCount_; ++x, row += 4, out += 4) {
            out[0] = linear[row[0]];
            out[1] = linear[row[1]];
            out[2] = linear[row[2]];
            out[3] = row[3] * (1.0f / 255.0f);
        }
    }
    // A count of taps the compiler knows unrolls the inner loop: from 2 to 5 taps are the
    // reductions of photos to screens, up to four times.
    using Columns = void (*)(const float*, int, const int*, const float*, int, int, float*);
    static constexpr Columns kByTaps[] = {ColumnsInLight<0>, ColumnsInLight<0>, ColumnsInLight<2>,
                                          ColumnsInLight<3>, ColumnsInLight<4>, ColumnsInLight<5>};
    const Columns columns =
        taps_ < static_cast<int>(std::size(kByTaps)) ? kByTaps[taps_] : ColumnsInLight<0>;
    columns(linearRow_.data(), sourceBegin_, firstColumn_.data(), columnShare_.data(), taps_,
            bandWidth_, rowLight_.data());
}

void AreaScaler::GatherInLight(float weight, bool first) {
    float* sum = sumLight_.data();
    const float* row = rowLight_.data();
    const std::size_t count = sumLight_.size();
    std::size_t k = 0;
#if defined(__SSE2__)
    const __m128 w = _mm_set1_ps(weight);
    for (; k + 4 <= count; k += 4) {
        const __m128 add = _mm_mul_ps(_mm_loadu_ps(row + k), w);
        _mm_storeu_ps(sum + k, first ? add : _mm_add_ps(_mm_loadu_ps(sum + k), add));
    }
#endif
    for (; k < count; ++k)
        sum[k] = first ? row[k] * weight : sum[k] + row[k] * weight;
}

void AreaScaler::EmitRowInLight() {
    std::uint32_t* out = NextRowOut();
    const std::uint8_t* encoded = light_->EncodedTable();
    const float* sum = sumLight_.data();
    constexpr float kTop = LightCurve::kSteps - 1;
#if defined(__SSE2__)
    // Blue, green and red become steps of the table, alpha a number, four at once.
    const __m128 scale = _mm_setr_ps(kTop, kTop, kTop, 255.0f);
    const __m128 half = _mm_set1_ps(0.5f), zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f);
    for (int x = 0; x < bandWidth_; ++x, sum += 4) {
        const __m128 clamped = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(sum), zero), one);
        // Every step is below 2^14: each is read from its register as one 16-bit word.
        const __m128i step = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(clamped, scale), half));
        out[x] = std::uint32_t{encoded[_mm_cvtsi128_si32(step)]} |
                 std::uint32_t{encoded[_mm_extract_epi16(step, 2)]} << 8 |
                 std::uint32_t{encoded[_mm_extract_epi16(step, 4)]} << 16 |
                 static_cast<std::uint32_t>(_mm_extract_epi16(step, 6)) << 24;
    }
#else
    for (int x = 0; x < bandWidth_; ++x, sum += 4) {
        std::uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c) {
            const float step = std::clamp(sum[c], 0.0f, 1.0f) * kTop + 0.5f;
            pixel |= std::uint32_t{encoded[static_cast<std::size_t>(step)]} << (8 * c);
        }
        const float alpha = std::clamp(sum[3], 0.0f, 1.0f) * 255.0f + 0.5f;
        out[x] = pixel | static_cast<std::uint32_t>(alpha) << 24;
    }
#endif
}

}  // namespace glimra
