#include "win32/pictures/OverlappedStrips.h"

#include <objbase.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "imaging/HandOffCount.h"

namespace glimra::win32 {

bool ReadStripsOverlapped(IWICBitmapSource* source, int width, int height, int bytesPerPixel,
                          int rowsPerStrip, const StripTaker& take, const std::atomic<bool>* stop) {
    const UINT stride = static_cast<UINT>(width) * bytesPerPixel;
    const int count = (height + rowsPerStrip - 1) / rowsPerStrip;
    // Two strips: the one being read and the one being taken.
    std::vector<std::uint8_t> strips[2] = {
        std::vector<std::uint8_t>(static_cast<size_t>(stride) * rowsPerStrip),
        std::vector<std::uint8_t>(static_cast<size_t>(stride) * rowsPerStrip)};
    // Each side ends its count when it stops early, which ends the other side's wait.
    HandOffCount read, taken;
    std::thread reader([&] {
        const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        // Strip i goes where strip i - 2 was: once that one is taken.
        for (int i = 0; i < count && taken.WaitFor(i - 1); ++i) {
            const int y = i * rowsPerStrip, rows = std::min(rowsPerStrip, height - y);
            const WICRect rect{0, y, width, rows};
            if ((stop && stop->load()) ||
                FAILED(
                    source->CopyPixels(&rect, stride, stride * UINT(rows), strips[i % 2].data()))) {
                break;
            }
            read.Raise();
        }
        read.End();
        if (com) CoUninitialize();
    });
    bool ok = true;
    for (int i = 0; i < count && (ok = read.WaitFor(i + 1)); ++i) {
        take(strips[i % 2].data(), std::min(rowsPerStrip, height - i * rowsPerStrip), stride);
        taken.Raise();
    }
    taken.End();
    reader.join();
    return ok;
}

}  // namespace glimra::win32
