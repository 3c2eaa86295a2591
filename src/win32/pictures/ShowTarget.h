#pragma once

#include <array>
#include <mutex>

namespace glimra::win32 {

// Where the slide show shows its pictures: its window's size in pixels, its monitor's
// resolution and that monitor's device name (whose colours a picture with a profile is turned
// into). The window tells it whenever they change (another display, another monitor's
// resolution); the loaders read it at each picture, on whatever thread they run.
class ShowTarget {
  public:
    struct Size {
        int width;
        int height;
        float dpi;
        std::array<wchar_t, 32> monitor{};  // "\\.\DISPLAY1"; empty before the window knows
        bool operator==(const Size&) const = default;
    };

    explicit ShowTarget(Size size) : size_(size) {}

    void Set(Size size) {
        const std::lock_guard<std::mutex> lock(mutex_);
        size_ = size;
    }
    Size Get() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return size_;
    }

  private:
    mutable std::mutex mutex_;
    Size size_;
};

}  // namespace glimra::win32
