#pragma once

#include "controls/Picture.h"
#include "controls/WindowlessControl.h"

namespace glimra {

// A picture drawn by its container.
class Image : public WindowlessControl {
  public:
    using WindowlessControl::WindowlessControl;

    const PicturePtr& Picture() const { return picture_; }
    void SetPicture(PicturePtr picture) { Assign(picture_, picture); }

  private:
    PicturePtr picture_;
};

}  // namespace glimra
