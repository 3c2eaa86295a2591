#pragma once

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

// A vector picture, played into the rectangle it is drawn at.
class MetafilePicture : public Win32Picture {
  public:
    MetafilePicture(int naturalWidth, int naturalHeight, ScopedEmf metafile)
        : Win32Picture(naturalWidth, naturalHeight), metafile_(std::move(metafile)) {}
    void Draw(Canvas& canvas, const RECT& dest) const override;

  private:
    ScopedEmf metafile_;
};

}  // namespace glimra::win32
