#pragma once

#include "platform/FileSystem.h"
#include "platform/PictureLister.h"
#include "screensaver/ImageList.h"

namespace glimra {

// Lists the picture folder at once, on the window's thread: for platforms without a worker
// thread, and for tests that want the list there when the start returns.
class InlineLister : public PictureLister {
  public:
    explicit InlineLister(FileSystem& files) : files_(files) {}

    void List(const std::wstring& folder, Delivery deliver) override {
        deliver(ListImageFiles(files_, folder));
    }

  private:
    FileSystem& files_;
};

}  // namespace glimra
