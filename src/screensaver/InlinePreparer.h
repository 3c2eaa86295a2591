#pragma once

#include "platform/PictureLoader.h"
#include "platform/PicturePreparer.h"

namespace glimra {

// Reads each picture at its turn, on the window's thread: for platforms without a worker
// thread, and for tests that want every load to happen inside the tick.
class InlinePreparer : public PicturePreparer {
  public:
    explicit InlinePreparer(PictureLoader& pictures) : pictures_(pictures) {}

    void Prepare(const std::wstring&) override {}
    void Take(const std::wstring& path, Delivery deliver) override {
        deliver(pictures_.Load(path));
    }

  private:
    PictureLoader& pictures_;
};

}  // namespace glimra
