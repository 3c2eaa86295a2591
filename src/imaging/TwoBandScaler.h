#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <thread>

#include "imaging/AreaScaler.h"
#include "imaging/HandOffCount.h"
#include "imaging/PixelBuffer.h"

namespace glimra {

// The reduction of AreaScaler, with exactly its result, made on two threads where the picture
// is large enough to pay for the second: each strip's left half of the destination columns on
// a worker, the right half on the caller's thread. Strips arrive once the codec has decoded
// them, so a reduction that would otherwise run alone after the decode takes half as long.
class TwoBandScaler {
  public:
    // As AreaScaler's; without `into`, the result is a buffer of the scaler's own.
    TwoBandScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight,
                  std::uint32_t* into = nullptr, const LightCurve* light = nullptr,
                  int sourceBytesPerPixel = 4);
    ~TwoBandScaler();
    TwoBandScaler(const TwoBandScaler&) = delete;
    TwoBandScaler& operator=(const TwoBandScaler&) = delete;

    // Returns once both halves of the strip are done: the rows may be reused at once.
    void PushRows(const std::uint8_t* rows, int count, std::size_t strideBytes);
    PixelBuffer Finish();

    // Whether a reduction of this size is split (for the benchmark's notes).
    static bool Splits(int srcWidth, int srcHeight, int dstWidth);

  private:
    void Work();
    void EndWorker();

    PixelBuffer own_;  // the result, when the caller gives no memory
    std::optional<AreaScaler> whole_, left_, right_;

    // The strip being reduced, and how many strips were handed to the worker and done by it.
    const std::uint8_t* rows_ = nullptr;
    int count_ = 0;
    std::size_t stride_ = 0;
    int strips_ = 0;
    HandOffCount posted_, done_;
    std::thread worker_;
};

}  // namespace glimra
