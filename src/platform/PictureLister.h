#pragma once

#include <functional>
#include <string>
#include <vector>

namespace glimra {

// Lists the slide show's picture folder, off the window's thread where the platform has
// threads, so that the window covers the screen and hears its input before a large folder,
// or one on a disk that sleeps or has gone away, is read.
class PictureLister {
  public:
    // Receives the list on the window's thread: every picture of the folder, in list order.
    using Delivery = std::function<void(std::vector<std::wstring>)>;

    virtual ~PictureLister() = default;

    // Lists the pictures of `folder`; `deliver` runs before List returns or later. A later List
    // replaces a delivery still outstanding.
    virtual void List(const std::wstring& folder, Delivery deliver) = 0;
};

}  // namespace glimra
