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

}  // namespace glimra
