#pragma once

#include <memory>

namespace glimra {

// A loaded picture: immutable, shared by every control that shows it. Its natural size is in
// screen pixels (metafiles are measured at the screen's resolution when loaded).
class Picture {
  public:
    virtual ~Picture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

using PicturePtr = std::shared_ptr<const Picture>;

}  // namespace glimra
