#pragma once

#include <cstdint>

#include "win32/base/Scoped.h"

namespace glimra::win32 {

// A top-down 32-bit DIB section with its own memory DC: drawn on by GDI and written
// directly, pixel by pixel.
class Canvas {
  public:
    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() { Release(); }

    // Makes the canvas width x height; its content is undefined afterwards when it changed.
    bool Resize(int width, int height);
    // Makes the canvas width x height over the memory of `section` (at least 4 * width *
    // height bytes), which GDI then draws into.
    bool Resize(int width, int height, HANDLE section);
    void Release();

    HDC Dc() const { return dc_.Get(); }
    std::uint32_t* Row(int y) { return bits_ + static_cast<size_t>(y) * width_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    ScopedDc dc_;
    ScopedBitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace glimra::win32
