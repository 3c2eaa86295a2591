#pragma once

#include "controls/Picture.h"

namespace glimra {

// A holder of one picture at its natural size. The screen-saver window keeps its current
// picture in one that is never shown (invisible, sized to its picture, borderless by design);
// the window paints the picture itself, so this control has no peer, no look of its own and
// raises no events.
class PictureBox {
  public:
    const PicturePtr& Picture() const { return picture_; }
    void SetPicture(PicturePtr picture) { picture_ = std::move(picture); }

  private:
    PicturePtr picture_;
};

}  // namespace glimra
