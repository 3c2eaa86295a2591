#include "win32/pictures/Pictures.h"

#include <algorithm>
#include <cstring>

#include "imaging/AreaScaler.h"
#include "imaging/PixelRecycler.h"

namespace glimra::win32 {

RasterPicture::~RasterPicture() {
    ReturnPixelStore(std::move(pixels_.pixels));  // the next picture is reduced into it
}

namespace {

// `pixels`, width x height, scaled into `dest` when it is of another size; parts outside the
// canvas are clipped.
void DrawPixels(Canvas& canvas, const RECT& dest, const std::uint32_t* pixels, int pixelWidth,
                int pixelHeight) {
    const int width = dest.right - dest.left, height = dest.bottom - dest.top;
    if (width <= 0 || height <= 0 || pixelWidth <= 0 || pixelHeight <= 0) return;
    PixelBuffer scaled;
    if (pixelWidth != width || pixelHeight != height) {
        PixelBuffer source{pixelWidth, pixelHeight, {}};
        source.pixels.assign(pixels, pixels + static_cast<size_t>(pixelWidth) * pixelHeight);
        scaled = ScaleArea(source, width, height);
        pixels = scaled.pixels.data();
    }
    GdiFlush();  // GDI may still be drawing into the canvas
    const int x0 = std::max<int>(0, dest.left), x1 = std::min<int>(canvas.Width(), dest.right);
    const int y0 = std::max<int>(0, dest.top), y1 = std::min<int>(canvas.Height(), dest.bottom);
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) {
        const std::uint32_t* from =
            pixels + static_cast<size_t>(y - dest.top) * width + (x0 - dest.left);
        std::memcpy(canvas.Row(y) + x0, from, static_cast<size_t>(x1 - x0) * 4);
    }
}

}  // namespace

void RasterPicture::Draw(Canvas& canvas, const RECT& dest) const {
    DrawPixels(canvas, dest, pixels_.pixels.data(), pixels_.width, pixels_.height);
}

void KeptPixelsPicture::Draw(Canvas& canvas, const RECT& dest) const {
    DrawPixels(canvas, dest, pixels_, width_, height_);
}

void MetafilePicture::Draw(Canvas& canvas, const RECT& dest) const {
    const HDC dc = canvas.Dc();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, dest.left, dest.top, dest.right, dest.bottom);
    if (enhanced_) {
        PlayEnhMetaFile(dc, enhanced_.Get(), &dest);
    } else {
        // As a viewer plays a placeable metafile: its box onto the rectangle, then its records,
        // whose own window settings and map mode count from there on.
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowOrgEx(dc, window_.left, window_.top, nullptr);
        SetWindowExtEx(dc, window_.right - window_.left, window_.bottom - window_.top, nullptr);
        SetViewportOrgEx(dc, dest.left, dest.top, nullptr);
        SetViewportExtEx(dc, dest.right - dest.left, dest.bottom - dest.top, nullptr);
        PlayMetaFile(dc, old_.Get());
    }
    RestoreDC(dc, saved);
}

}  // namespace glimra::win32
