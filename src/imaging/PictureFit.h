#pragma once

namespace glimra {

struct Placement {
    float left;
    float top;
    float width;
    float height;
};

// Places a w x h picture in a W x H window: reduced with its proportions kept when it is
// larger in either direction (strictly), never enlarged, and centred.
inline Placement FitAndCentre(float w, float h, float W, float H) {
    if (w > W) {
        h = h * W / w;
        w = W;
    }
    if (h > H) {
        w = w * H / h;
        h = H;
    }
    return {(W - w) / 2, (H - h) / 2, w, h};
}

struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The screen pixels a placement in twips is drawn into. The size is rounded on its own, not
// from the rounded edges, so that where a picture lies never changes how large it is drawn;
// a picture is never drawn smaller than one pixel.
PixelRect PixelsOf(const Placement& twips, float twipsPerPixelX, float twipsPerPixelY);

// The pixels a w x h pixel picture is drawn into on a W x H pixel window at that many twips
// per pixel, placed as the slide show places it. The loader keeps raster pictures at exactly
// this size, so drawing them is a plain copy.
PixelRect ShownRect(int w, int h, int W, int H, float twipsPerPixelX, float twipsPerPixelY);

}  // namespace glimra
