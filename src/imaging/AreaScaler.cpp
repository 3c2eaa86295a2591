#include "imaging/AreaScaler.h"

#include "imaging/PixelRecycler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>

namespace glimra {
namespace {

// One destination pixel of an axis: the source pixels it takes, from `first` on, and how much
// of each.
struct Span {
    std::int64_t first;
    std::vector<std::uint32_t> weights;
};

// The spans of an axis of `source` pixels made into `dest` pixels, and what every span's
// weights add up to.
std::vector<Span> Spans(int source, int dest, std::uint64_t& total) {
    std::vector<Span> spans(static_cast<std::size_t>(dest));
    if (dest > source) {
        // Growing: each destination repeats the source pixel under its centre.
        for (int d = 0; d < dest; ++d) {
            spans[d] = {(2 * std::int64_t{d} + 1) * source / (2 * std::int64_t{dest}), {1}};
        }
        total = 1;
        return spans;
    }
    // Measured in units where a source pixel is `unit` long and a destination pixel `length`
    // long, every overlap is a whole number, so the weights are exact.
    const std::int64_t g = std::gcd(source, dest);
    const std::int64_t unit = dest / g;
    const std::int64_t length = source / g;
    for (int d = 0; d < dest; ++d) {
        const std::int64_t lo = d * length, hi = lo + length;
        Span& span = spans[d];
        span.first = lo / unit;
        for (std::int64_t s = span.first; s * unit < hi; ++s) {
            const std::int64_t w = std::min((s + 1) * unit, hi) - std::max(s * unit, lo);
            span.weights.push_back(static_cast<std::uint32_t>(w));
        }
    }
    total = static_cast<std::uint64_t>(length);
    return spans;
}

int BitWidth(std::uint64_t n) {
    int bits = 0;
    for (; n != 0; n >>= 1)
        ++bits;
    return bits;
}

// Adds a reduced source row, weighed, to the destination row being gathered; its first row
// sets the sums instead, which saves clearing them.
template <typename Sum>
void Gather(Sum* sum, const std::uint32_t* rowSum, std::size_t count, std::uint32_t weight,
            bool first) {
    if (first) {
        for (std::size_t k = 0; k < count; ++k)
            sum[k] = Sum{rowSum[k]} * weight;
    } else {
        for (std::size_t k = 0; k < count; ++k)
            sum[k] += Sum{rowSum[k]} * weight;
    }
}

// The pixel at p as 32 bits: blue, green, red and alpha; three bytes are an opaque pixel.
template <int Bytes>
std::uint32_t PixelAt(const std::uint8_t* p) {
    if constexpr (Bytes == 3) {
        return p[0] | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | 0xFF000000u;
    } else {
        std::uint32_t pixel;
        std::memcpy(&pixel, p, 4);
        return pixel;
    }
}

}  // namespace

AreaScaler::AreaScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight,
                       std::uint32_t* into, const LightCurve* light, int sourceBytesPerPixel)
    : AreaScaler(srcWidth, srcHeight, dstWidth, dstHeight, into, light, 0, dstWidth,
                 sourceBytesPerPixel) {}

AreaScaler::AreaScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight,
                       std::uint32_t* into, const LightCurve* light, int bandBegin, int bandEnd,
                       int sourceBytesPerPixel)
    : srcWidth_(std::max(1, srcWidth)),
      srcHeight_(std::max(1, srcHeight)),
      dstWidth_(std::max(1, dstWidth)),
      dstHeight_(std::max(1, dstHeight)),
      sourceBytes_(sourceBytesPerPixel == 3 ? 3 : 4),
      into_(into) {
    // A band is written among the others' columns, so only into memory of the caller's.
    bandBegin_ = into_ ? std::clamp(bandBegin, 0, dstWidth_ - 1) : 0;
    bandWidth_ = into_ ? std::clamp(bandEnd, bandBegin_ + 1, dstWidth_) - bandBegin_ : dstWidth_;
    // Light changes nothing where no pixel is averaged with another.
    if (dstWidth_ < srcWidth_ || dstHeight_ < srcHeight_) light_ = light;
    std::uint64_t columnTotal = 1, rowTotal = 1;

    const std::vector<Span> columns = Spans(srcWidth_, dstWidth_, columnTotal);
    for (const Span& span : columns)
        taps_ = std::max(taps_, static_cast<int>(span.weights.size()));
    firstColumn_.resize(static_cast<std::size_t>(bandWidth_));
    columnWeight_.assign(firstColumn_.size() * taps_, 0);
    for (int x = 0; x < bandWidth_; ++x) {
        const Span& span = columns[static_cast<std::size_t>(bandBegin_ + x)];
        // Started early enough that all taps stay inside the row; the extra ones weigh nothing.
        const std::int64_t first = std::min<std::int64_t>(span.first, srcWidth_ - taps_);
        firstColumn_[x] = static_cast<int>(first);
        std::copy(span.weights.begin(), span.weights.end(),
                  columnWeight_.begin() + x * taps_ + (span.first - first));
    }
    // Columns start in order, so the band reads from its first column's start to its last's end.
    sourceBegin_ = firstColumn_.front();
    sourceCount_ = firstColumn_.back() + taps_ - sourceBegin_;

    const std::vector<Span> rows = Spans(srcHeight_, dstHeight_, rowTotal);
    for (const Span& span : rows) {
        rowBegin_.push_back(static_cast<int>(rowWeight_.size()));
        firstRow_.push_back(static_cast<int>(span.first));
        rowWeight_.insert(rowWeight_.end(), span.weights.begin(), span.weights.end());
    }
    rowBegin_.push_back(static_cast<int>(rowWeight_.size()));

    out_.width = dstWidth_;
    out_.height = dstHeight_;
    // Rows are appended as they are finished: the result is written once, not cleared first.
    if (!into_) out_.pixels = TakePixelStore(static_cast<std::size_t>(dstWidth_) * dstHeight_);

    const std::size_t dstChannels = 4 * static_cast<std::size_t>(bandWidth_);
    if (light_) {
        for (const std::uint32_t w : columnWeight_)
            columnShare_.push_back(static_cast<float>(w / static_cast<double>(columnTotal)));
        for (const std::uint32_t w : rowWeight_)
            rowShare_.push_back(static_cast<float>(w / static_cast<double>(rowTotal)));
        linearRow_.assign(4 * static_cast<std::size_t>(sourceCount_), 0.0f);
        rowLight_.assign(dstChannels, 0.0f);
        sumLight_.assign(dstChannels, 0.0f);
        return;
    }
    rowSum_.assign(dstChannels, 0);

    total_ = columnTotal * rowTotal;
    // Sums stay below 2^n = 256 * total; with l = bits of total - 1 rounded up, the multiplier
    // ceil(2^(n + l) / total) divides every such sum exactly while the product fits 64 bits.
    const int n = BitWidth(256 * total_);
    const int l = BitWidth(total_ - 1);
    if (2 * n + 1 < 64) {
        shift_ = n + l;
        multiplier_ = ((std::uint64_t{1} << shift_) + total_ - 1) / total_;
    }
    // Sums below 2^32 and a 32-bit multiplier, as for every size a screen shows: 32-bit sums,
    // half the memory traffic of 64-bit ones and loops the compiler can vectorise.
    narrow_ = multiplier_ != 0 && multiplier_ <= UINT32_MAX && n <= 31;
    if (narrow_) {
        sum32_.assign(dstChannels, 0);
    } else {
        sum64_.assign(dstChannels, 0);
    }
}

void AreaScaler::SumRow(const std::uint8_t* row) {
    if (sourceBytes_ == 3) {
        SumRowOf<3>(row);
    } else {
        SumRowOf<4>(row);
    }
}

template <int Bytes>
void AreaScaler::SumRowOf(const std::uint8_t* row) {
    const std::uint32_t* weight = columnWeight_.data();
    std::uint32_t* out = rowSum_.data();
    constexpr std::uint64_t kLanes = 0x000000FF000000FF;
    for (int x = 0; x < bandWidth_; ++x, out += 4) {
        const std::uint8_t* p = row + Bytes * static_cast<std::size_t>(firstColumn_[x]);
        // Two channels at a time in 32-bit lanes of one 64-bit word: blue and red, green and
        // alpha. Halves the multiplications, the bulk of the work.
        std::uint64_t br = 0, ga = 0;
        for (int k = 0; k < taps_; ++k, p += Bytes, ++weight) {
            const std::uint32_t pixel = PixelAt<Bytes>(p);
            const std::uint64_t even = pixel, odd = pixel >> 8;
            br += ((even | even << 16) & kLanes) * *weight;
            ga += ((odd | odd << 16) & kLanes) * *weight;
        }
        out[0] = static_cast<std::uint32_t>(br);
        out[1] = static_cast<std::uint32_t>(ga);
        out[2] = static_cast<std::uint32_t>(br >> 32);
        out[3] = static_cast<std::uint32_t>(ga >> 32);
    }
}

std::uint32_t* AreaScaler::NextRowOut() {
    if (into_) return into_ + static_cast<std::size_t>(nextDest_) * dstWidth_ + bandBegin_;
    const std::size_t at = out_.pixels.size();
    out_.pixels.resize(at + static_cast<std::size_t>(dstWidth_));
    return out_.pixels.data() + at;
}

void AreaScaler::EmitRow() {
    std::uint32_t* out = NextRowOut();
    const std::uint64_t half = total_ / 2;
    if (narrow_) {
        // Rounded to nearest: (sum + half) / total, exactly, as a multiply and a shift.
        const std::uint32_t* sum = sum32_.data();
        const std::uint64_t multiplier = multiplier_;
        const int shift = shift_;
        for (int x = 0; x < bandWidth_; ++x, sum += 4) {
            std::uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) {
                const std::uint64_t q = ((sum[c] + half) * multiplier) >> shift;
                pixel |= static_cast<std::uint32_t>(q) << (8 * c);
            }
            out[x] = pixel;
        }
        return;
    }
    const std::uint64_t* sum = sum64_.data();
    for (int x = 0; x < bandWidth_; ++x, sum += 4) {
        std::uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c) {
            const std::uint64_t n = sum[c] + half;  // rounded to nearest
            std::uint64_t q;
            if (multiplier_ != 0) {
                q = (n * multiplier_) >> shift_;
            } else {
                // Huge totals only: the double quotient is a guess the integer checks correct.
                q = std::min<std::uint64_t>(static_cast<std::uint64_t>(static_cast<double>(n) /
                                                                       static_cast<double>(total_)),
                                            255);
                while (q > 0 && q * total_ > n)
                    --q;
                while (q < 255 && (q + 1) * total_ <= n)
                    ++q;
            }
            pixel |= static_cast<std::uint32_t>(q) << (8 * c);
        }
        out[x] = pixel;
    }
}

void AreaScaler::PushRows(const std::uint8_t* rows, int count, std::size_t strideBytes) {
    if (rows == nullptr) return;
    for (int i = 0; i < count && nextSource_ < srcHeight_; ++i, ++nextSource_) {
        const std::uint8_t* row = rows + static_cast<std::size_t>(i) * strideBytes;
        bool summed = false;
        // Rows arrive in order and each destination row's sources follow the previous one's,
        // so one destination row at a time is gathered and sent out as soon as it is complete.
        while (nextDest_ < dstHeight_) {
            const int d = nextDest_;
            if (firstRow_[d] + (nextEntry_ - rowBegin_[d]) > nextSource_) break;
            if (!summed) {
                if (light_) {
                    SumRowInLight(row);
                } else {
                    SumRow(row);
                }
                summed = true;
            }
            const std::uint32_t w = rowWeight_[nextEntry_];
            const bool first = nextEntry_ == rowBegin_[d];
            if (light_) {
                GatherInLight(rowShare_[nextEntry_], first);
            } else if (narrow_) {
                Gather(sum32_.data(), rowSum_.data(), rowSum_.size(), w, first);
            } else {
                Gather(sum64_.data(), rowSum_.data(), rowSum_.size(), w, first);
            }
            if (++nextEntry_ == rowBegin_[d + 1]) {
                if (light_) {
                    EmitRowInLight();
                } else {
                    EmitRow();
                }
                ++nextDest_;
            }
        }
    }
}

PixelBuffer AreaScaler::Finish() {
    if (into_) {
        for (; nextDest_ < dstHeight_; ++nextDest_) {
            std::uint32_t* row = NextRowOut();
            std::fill(row, row + bandWidth_, 0u);
        }
        return std::move(out_);
    }
    out_.pixels.resize(static_cast<std::size_t>(dstWidth_) * dstHeight_);
    return std::move(out_);
}

PixelBuffer ScaleArea(const PixelBuffer& source, int dstWidth, int dstHeight,
                      const LightCurve* light) {
    if (source.width < 1 || source.height < 1 || dstWidth < 1 || dstHeight < 1 ||
        source.pixels.size() != static_cast<std::size_t>(source.width) * source.height) {
        return {};
    }
    AreaScaler scaler(source.width, source.height, dstWidth, dstHeight, nullptr, light);
    scaler.PushRows(reinterpret_cast<const std::uint8_t*>(source.pixels.data()), source.height,
                    4 * static_cast<std::size_t>(source.width));
    return scaler.Finish();
}

}  // namespace glimra
