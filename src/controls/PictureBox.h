#pragma once

#include "controls/Picture.h"

namespace glimra {

// A holder of one picture. The screen-saver window keeps its current picture in one that is
// never shown; the window paints the picture itself, so this control has no peer and raises
// no events of its own.
class PictureBox {
  public:
    const PicturePtr& Picture() const { return picture_; }
    void SetPicture(PicturePtr picture) { picture_ = std::move(picture); }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }
    bool Bordered() const { return bordered_; }
    void SetBordered(bool bordered) { bordered_ = bordered; }

  private:
    PicturePtr picture_;
    bool visible_ = true;
    bool autoSize_ = false;
    bool bordered_ = true;
};

}  // namespace glimra
