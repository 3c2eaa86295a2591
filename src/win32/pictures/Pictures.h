#pragma once

#include <cstdint>
#include <memory>

#include "imaging/PixelBuffer.h"
#include "platform/Picture.h"
#include "win32/base/Scoped.h"
#include "win32/pictures/Canvas.h"

namespace glimra::win32 {

// A picture this platform layer can draw, with its natural size.
class Win32Picture : public Picture {
  public:
    Win32Picture(int naturalWidth, int naturalHeight)
        : width_(naturalWidth), height_(naturalHeight) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }

    // Draws the picture scaled into `dest`, in canvas pixels; parts outside are clipped.
    virtual void Draw(Canvas& canvas, const RECT& dest) const = 0;

  private:
    int width_;
    int height_;
};

// Decoded pixels, kept at no more than the size the screen shows them at; the natural size
// is that of the file.
class RasterPicture : public Win32Picture {
  public:
    RasterPicture(int naturalWidth, int naturalHeight, PixelBuffer pixels)
        : Win32Picture(naturalWidth, naturalHeight), pixels_(std::move(pixels)) {}
    ~RasterPicture() override;
    const PixelBuffer& Pixels() const { return pixels_; }
    void Draw(Canvas& canvas, const RECT& dest) const override;

  private:
    PixelBuffer pixels_;
};

// Pixels in memory that `keeper` keeps alive: a view of the section a decoder process wrote
// them into, which is drawn from where it lies.
class KeptPixelsPicture : public Win32Picture {
  public:
    KeptPixelsPicture(int naturalWidth, int naturalHeight, const std::uint32_t* pixels, int width,
                      int height, std::shared_ptr<const void> keeper)
        : Win32Picture(naturalWidth, naturalHeight),
          pixels_(pixels),
          width_(width),
          height_(height),
          keeper_(std::move(keeper)) {}
    const std::uint32_t* Pixels() const { return pixels_; }
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }
    void Draw(Canvas& canvas, const RECT& dest) const override;

  private:
    const std::uint32_t* pixels_;
    int width_;
    int height_;
    std::shared_ptr<const void> keeper_;
};

// Memory given for a decoded picture's pixels: room for `capacity` pixels at `pixels`, a view
// of `section`, where GDI can draw too.
struct PixelTarget {
    std::uint32_t* pixels = nullptr;
    size_t capacity = 0;
    HANDLE section = nullptr;
};

// A vector picture, played by GDI into the rectangle it is drawn at, and only there: an
// enhanced metafile maps its frame onto it; an old metafile, played record by record as GDI
// plays it, the rectangle of its logical units the picture covers (`window`, its edges).
class MetafilePicture : public Win32Picture {
  public:
    MetafilePicture(int naturalWidth, int naturalHeight, ScopedEmf metafile)
        : Win32Picture(naturalWidth, naturalHeight), enhanced_(std::move(metafile)) {}
    MetafilePicture(int naturalWidth, int naturalHeight, ScopedWmf metafile, const RECT& window)
        : Win32Picture(naturalWidth, naturalHeight), old_(std::move(metafile)), window_(window) {}
    void Draw(Canvas& canvas, const RECT& dest) const override;

  private:
    ScopedEmf enhanced_;
    ScopedWmf old_;
    RECT window_{};
};

}  // namespace glimra::win32
