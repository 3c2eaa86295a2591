#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include <wincodec.h>

namespace glimra::win32 {

// Reads `source` (width x height pixels of `bytesPerPixel` bytes) strip by strip, `rowsPerStrip`
// rows each, on a thread of its own, and hands each strip to `take` on this thread as soon as it is
// read: the codec decodes the next strip while `take` works on this one, on two cores. The source
// is called from that thread, so it must be free-threaded (the codecs of a multithreaded
// apartment). False when a strip cannot be read or `stop` is set.
using StripTaker = std::function<void(const std::uint8_t* rows, int count, size_t stride)>;
bool ReadStripsOverlapped(IWICBitmapSource* source, int width, int height, int bytesPerPixel,
                          int rowsPerStrip, const StripTaker& take, const std::atomic<bool>* stop);

}  // namespace glimra::win32
