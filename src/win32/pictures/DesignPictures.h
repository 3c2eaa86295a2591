#pragma once

#include <map>
#include <utility>

#include "controls/Image.h"
#include "win32/base/Scoped.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {

// The dialog's built-in pictures and pointers, read from the program's resources the first
// time they are drawn, so a start that never shows the dialog never decodes them.
class DesignPictures {
  public:
    DesignPictures(HINSTANCE resources, WicPictureLoader& loader, HCURSOR programPointer)
        : resources_(resources), loader_(loader), programPointer_(programPointer) {}

    // The picture of an image, or nullptr for the icons, which are drawn as icons.
    PicturePtr Picture(DesignPicture which);
    // The icon of an image at `size` pixels, or nullptr for pictures that are not icons.
    HICON Icon(DesignPicture which, int size);
    // The natural size of a built-in picture in pixels at 96 dots per inch.
    SIZE NaturalSize(DesignPicture which);
    HCURSOR Pointer(PointerPicture which);

  private:
    HINSTANCE resources_;
    WicPictureLoader& loader_;
    HCURSOR programPointer_;
    std::map<DesignPicture, PicturePtr> pictures_;
    std::map<std::pair<DesignPicture, int>, ScopedIcon> icons_;
    ScopedCursor hand_;
};

}  // namespace glimra::win32
