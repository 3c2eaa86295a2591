#include "win32/pictures/OverlappedStrips.h"

#include <objbase.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace glimra::win32 {

bool ReadStripsOverlapped(IWICBitmapSource* source, int width, int height, int rowsPerStrip,
                          const StripTaker& take, const std::atomic<bool>* stop) {
    const UINT stride = static_cast<UINT>(width) * 4;
    const int count = (height + rowsPerStrip - 1) / rowsPerStrip;
    // Two strips: the one being read and the one being taken.
    std::vector<std::uint8_t> strips[2] = {
        std::vector<std::uint8_t>(static_cast<size_t>(stride) * rowsPerStrip),
        std::vector<std::uint8_t>(static_cast<size_t>(stride) * rowsPerStrip)};
    std::mutex mutex;
    std::condition_variable changed;
    int read = 0, taken = 0;
    bool failed = false;
    std::thread reader([&] {
        const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        for (int i = 0; i < count; ++i) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return i - taken < 2 || failed; });
                if (failed) break;
            }
            const int y = i * rowsPerStrip, rows = std::min(rowsPerStrip, height - y);
            const WICRect rect{0, y, width, rows};
            const bool ok = !(stop && stop->load()) &&
                            SUCCEEDED(source->CopyPixels(&rect, stride, stride * UINT(rows),
                                                         strips[i % 2].data()));
            {
                const std::lock_guard lock(mutex);
                if (ok) {
                    read = i + 1;
                } else {
                    failed = true;
                }
            }
            changed.notify_all();
            if (!ok) break;
        }
        if (com) CoUninitialize();
    });
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return read > i || failed; });
            ok = read > i;
        }
        if (!ok) break;
        take(strips[i % 2].data(), std::min(rowsPerStrip, height - i * rowsPerStrip), stride);
        {
            const std::lock_guard lock(mutex);
            taken = i + 1;
        }
        changed.notify_all();
    }
    {
        const std::lock_guard lock(mutex);
        if (!ok) failed = true;
    }
    changed.notify_all();
    reader.join();
    return ok;
}

}  // namespace glimra::win32
