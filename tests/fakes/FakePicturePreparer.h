#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakePlatform.h"
#include "platform/PicturePreparer.h"

namespace glimra::fakes {

// Prepares through the fake loader. A picture taken is delivered at once, or, when `late`,
// held until the test hands it over, as a worker thread still decoding would.
class FakePicturePreparer : public PicturePreparer {
  public:
    explicit FakePicturePreparer(FakePictureLoader& pictures) : pictures_(pictures) {}

    void Prepare(const std::wstring& path) override { prepared.push_back(path); }
    void Take(const std::wstring& path, Delivery deliver) override {
        taken.push_back(path);
        if (late) {
            held_ = {path, std::move(deliver)};
        } else {
            deliver(pictures_.Load(path));
        }
    }

    // Delivers the picture held back; false when none is.
    bool DeliverHeld() {
        if (!held_) return false;
        auto [path, deliver] = std::move(*held_);
        held_.reset();
        deliver(pictures_.Load(path));
        return true;
    }

    std::vector<std::wstring> prepared;
    std::vector<std::wstring> taken;
    bool late = false;

  private:
    FakePictureLoader& pictures_;
    std::optional<std::pair<std::wstring, Delivery>> held_;
};

}  // namespace glimra::fakes
