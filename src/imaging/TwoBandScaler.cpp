#include "imaging/TwoBandScaler.h"

#include "imaging/PixelRecycler.h"

#include <system_error>

namespace glimra {
namespace {

// Below this many source pixels, or this many destination columns, a second thread's start
// and its hand-overs cost more than the half of the work it takes.
constexpr std::int64_t kSplitSourcePixels = 1 << 20;
constexpr int kSplitColumns = 256;

}  // namespace

bool TwoBandScaler::Splits(int srcWidth, int srcHeight, int dstWidth) {
    return std::int64_t{srcWidth} * srcHeight >= kSplitSourcePixels && dstWidth >= kSplitColumns &&
           std::thread::hardware_concurrency() >= 2;
}

TwoBandScaler::TwoBandScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight,
                             std::uint32_t* into, const LightCurve* light,
                             int sourceBytesPerPixel) {
    if (!Splits(srcWidth, srcHeight, dstWidth)) {
        whole_.emplace(srcWidth, srcHeight, dstWidth, dstHeight, into, light, sourceBytesPerPixel);
        return;
    }
    own_.width = dstWidth;
    own_.height = dstHeight;
    if (!into) {
        own_.pixels = TakePixelStore(static_cast<std::size_t>(dstWidth) * dstHeight);
        own_.pixels.resize(static_cast<std::size_t>(dstWidth) * dstHeight);
        into = own_.pixels.data();
    }
    const int middle = dstWidth / 2;
    left_.emplace(srcWidth, srcHeight, dstWidth, dstHeight, into, light, 0, middle,
                  sourceBytesPerPixel);
    right_.emplace(srcWidth, srcHeight, dstWidth, dstHeight, into, light, middle, dstWidth,
                   sourceBytesPerPixel);
    try {
        worker_ = std::thread(&TwoBandScaler::Work, this);
    } catch (const std::system_error&) {
        // No thread to be had (memory, or a job's limits): both halves on this one.
    }
}

TwoBandScaler::~TwoBandScaler() {
    EndWorker();
}

void TwoBandScaler::Work() {
    // The strip is written before the count is raised, and read only after it is reached.
    for (int strip = 1; posted_.WaitFor(strip); ++strip) {
        left_->PushRows(rows_, count_, stride_);
        done_.Raise();
    }
}

void TwoBandScaler::EndWorker() {
    if (!worker_.joinable()) return;
    posted_.End();
    worker_.join();
}

void TwoBandScaler::PushRows(const std::uint8_t* rows, int count, std::size_t strideBytes) {
    if (whole_) {
        whole_->PushRows(rows, count, strideBytes);
        return;
    }
    if (!worker_.joinable()) {
        left_->PushRows(rows, count, strideBytes);
        right_->PushRows(rows, count, strideBytes);
        return;
    }
    rows_ = rows;
    count_ = count;
    stride_ = strideBytes;
    posted_.Raise();
    right_->PushRows(rows, count, strideBytes);
    done_.WaitFor(++strips_);
}

PixelBuffer TwoBandScaler::Finish() {
    if (whole_) return whole_->Finish();
    EndWorker();
    left_->Finish();
    right_->Finish();
    return std::move(own_);
}

}  // namespace glimra
