#include "win32/pictures/Pictures.h"

#include <algorithm>
#include <cstring>

#include "imaging/AreaScaler.h"
#include "imaging/PixelRecycler.h"

namespace glimra::win32 {

RasterPicture::~RasterPicture() {
    ReturnPixelStore(std::move(pixels_.pixels));  // the next picture is reduced into it
}

void RasterPicture::Draw(Canvas& canvas, const RECT& dest) const {
    const int width = dest.right - dest.left, height = dest.bottom - dest.top;
    if (width <= 0 || height <= 0 || pixels_.width <= 0 || pixels_.height <= 0) return;
    PixelBuffer scaled;
    const PixelBuffer* source = &pixels_;
    if (pixels_.width != width || pixels_.height != height) {
        scaled = ScaleArea(pixels_, width, height);
        source = &scaled;
    }
    GdiFlush();  // GDI may still be drawing into the canvas
    const int x0 = std::max<int>(0, dest.left), x1 = std::min<int>(canvas.Width(), dest.right);
    const int y0 = std::max<int>(0, dest.top), y1 = std::min<int>(canvas.Height(), dest.bottom);
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) {
        const std::uint32_t* from =
            source->pixels.data() + static_cast<size_t>(y - dest.top) * width + (x0 - dest.left);
        std::memcpy(canvas.Row(y) + x0, from, static_cast<size_t>(x1 - x0) * 4);
    }
}

void MetafilePicture::Draw(Canvas& canvas, const RECT& dest) const {
    PlayEnhMetaFile(canvas.Dc(), metafile_.Get(), &dest);
}

}  // namespace glimra::win32
