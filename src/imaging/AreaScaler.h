#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/LightCurve.h"
#include "imaging/PixelBuffer.h"

namespace glimra {

// Reduces a picture by averaging, over each destination pixel, the source pixels it covers,
// each weighed by the exact fraction it covers. Source rows arrive in strips from a decoder, so
// only working rows of the destination width are kept besides the result. An axis that grows
// instead repeats the nearest source pixel. Widths up to 16 million source pixels.
//
// Given a light curve, a reduction averages light: each colour number becomes linear light
// through the curve's table, the light is averaged in floating point and made a number again.
// Without one, or where nothing is reduced, the numbers themselves are averaged, exactly. Alpha
// is averaged as it is. The sources are opaque or premultiplied: premultiplied numbers are the
// picture as it looks over the show's black, so their light is the light shown.
class AreaScaler {
  public:
    // Sizes all >= 1. Given `into` (dstWidth * dstHeight pixels, the caller's), the result goes
    // there instead of into a buffer of the scaler's own: memory another process reads.
    // Source pixels are 4 bytes (blue, green, red, alpha), or 3 (blue, green, red: opaque, as
    // codecs decode photos, read without a conversion to 4).
    AreaScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight,
               std::uint32_t* into = nullptr, const LightCurve* light = nullptr,
               int sourceBytesPerPixel = 4);

    // Only the destination columns [bandBegin, bandEnd) of the same reduction, written into
    // `into` (the whole dstWidth x dstHeight result, the caller's): scalers of neighbouring
    // bands share one picture's work between threads, and together give exactly its result.
    AreaScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight, std::uint32_t* into,
               const LightCurve* light, int bandBegin, int bandEnd, int sourceBytesPerPixel = 4);

    // The next `count` source rows, each `srcWidth` pixels, `strideBytes` apart.
    // Rows past `srcHeight` are ignored.
    void PushRows(const std::uint8_t* rows, int count, std::size_t strideBytes);

    // After exactly srcHeight rows have been pushed; rows never pushed leave their part of the
    // result transparent black. With memory of the caller's, the buffer holds no pixels.
    PixelBuffer Finish();

  private:
    void SumRow(const std::uint8_t* row);
    template <int Bytes>
    void SumRowOf(const std::uint8_t* row);
    void EmitRow();  // the destination row gathered, divided and appended to the result
    std::uint32_t* NextRowOut();
    // The same in light: sums are of linear light, weights already divided by their totals.
    void SumRowInLight(const std::uint8_t* row);
    void GatherInLight(float weight, bool first);
    void EmitRowInLight();

    int srcWidth_, srcHeight_, dstWidth_, dstHeight_;
    // The destination columns made, and the source columns they read, from sourceBegin_ on.
    int bandBegin_ = 0, bandWidth_ = 0;
    int sourceBegin_ = 0, sourceCount_ = 0;
    int sourceBytes_ = 4;  // per source pixel

    // Columns: band column x takes the `taps_` source pixels from firstColumn_[x] on, weighed
    // columnWeight_[x * taps_ ..]. The same count for every column (padded with zero weights)
    // keeps the inner loop free of unpredictable branches.
    int taps_ = 1;
    std::vector<int> firstColumn_;
    std::vector<std::uint32_t> columnWeight_;

    // Rows: destination y takes source rows from firstRow_[y] on, weighed
    // rowWeight_[rowBegin_[y]] .. rowWeight_[rowBegin_[y + 1] - 1].
    std::vector<int> rowBegin_;
    std::vector<int> firstRow_;
    std::vector<std::uint32_t> rowWeight_;

    std::vector<std::uint32_t> rowSum_;  // the current source row, reduced: 4 per column
    // The destination row being gathered, 4 per column: in 32 bits when every sum fits.
    bool narrow_ = false;
    std::vector<std::uint32_t> sum32_;
    std::vector<std::uint64_t> sum64_;
    int nextSource_ = 0;  // the source row PushRows expects next
    int nextDest_ = 0;    // the destination row being gathered
    int nextEntry_ = 0;   // its next weight in rowWeight_

    // Every destination pixel's weights add up to total_; dividing by it is done as
    // (n * multiplier_) >> shift_ when that is exact for every sum, else in double and checked.
    std::uint64_t total_ = 1;
    std::uint64_t multiplier_ = 0;
    int shift_ = 0;
    PixelBuffer out_;
    std::uint32_t* into_ = nullptr;

    // Averaging light: the curve, and 4 floats per pixel for the source row made linear, the
    // row reduced, and the destination row being gathered.
    const LightCurve* light_ = nullptr;
    std::vector<float> columnShare_;                      // columnWeight_ divided by its total
    std::vector<float> rowShare_;                         // rowWeight_ divided by its total
    std::vector<float> linearRow_, rowLight_, sumLight_;  // linearRow_ from sourceBegin_ on
};

// The whole picture at once; an empty or inconsistent source gives an empty buffer.
PixelBuffer ScaleArea(const PixelBuffer& source, int dstWidth, int dstHeight,
                      const LightCurve* light = nullptr);

}  // namespace glimra
