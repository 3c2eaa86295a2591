#pragma once

#include <string>

#include "platform/Picture.h"

namespace glimra {

// Reads pictures: JPEG, BMP, GIF, ICO, WMF and EMF files, and the pictures built into the
// program. A file that cannot be read gives nullptr and has no other effect.
class PictureLoader {
  public:
    virtual ~PictureLoader() = default;
    virtual PicturePtr Load(const std::wstring& path) = 0;
    virtual PicturePtr StartPicture() = 0;  // 640 x 480, shown during the first starts
    virtual PicturePtr BlankPicture() = 0;  // one black pixel
};

}  // namespace glimra
