#pragma once

#include <functional>
#include <string>

#include "platform/Picture.h"

namespace glimra {

// Reads the slide show's next picture ahead of its turn, off the window's thread where the
// platform has threads, so that a change of picture never waits for a decode.
class PicturePreparer {
  public:
    // Receives a picture on the window's thread; nullptr when the file cannot be loaded.
    using Delivery = std::function<void(PicturePtr)>;

    virtual ~PicturePreparer() = default;

    // Starts reading `path` for a later change; an earlier preparation is dropped.
    virtual void Prepare(const std::wstring& path) = 0;

    // The picture of `path` is wanted now. `deliver` runs on the window's thread, before Take
    // returns or later: with the prepared picture when its file has not changed since it was
    // read, otherwise once the file has been read afresh. A later Take replaces a delivery
    // still outstanding.
    virtual void Take(const std::wstring& path, Delivery deliver) = 0;
};

}  // namespace glimra
