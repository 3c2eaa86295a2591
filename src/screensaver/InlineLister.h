#pragma once

#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PictureLister.h"
#include "screensaver/ImageList.h"

namespace glimra {

// Lists the picture folder at once, on the window's thread: for platforms without a worker
// thread, and for tests that want the list there when the start returns.
class InlineLister : public PictureLister {
  public:
    explicit InlineLister(FileSystem& files) : files_(files) {}

    // A listing that fails gives an empty list, as a folder that cannot be read does.
    void List(const std::wstring& folder, Delivery deliver) override {
        std::vector<std::wstring> pictures;
        try {
            pictures = ListImageFiles(files_, folder);
        } catch (...) {
            // Nothing was listed: the list stays empty.
        }
        deliver(std::move(pictures));
    }

  private:
    FileSystem& files_;
};

}  // namespace glimra
