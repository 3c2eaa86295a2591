#pragma once

#include "options/SlideShowWindow.h"
#include "screensaver/frmLumivue.h"

namespace glimra {

// The start-up window behind the dialog's hand-over: the window's own operations, in the order
// the hand-over has always run them.
class LumivueSlideShow : public SlideShowWindow {
  public:
    explicit LumivueSlideShow(frmLumivue& window) : window_(window) {}

    void StartSlideShow(bool windowFirst) override {
        if (windowFirst) window_.Show();
        window_.timTimer.SetEnabled(true);
        window_.InitializeScreenSaver();
        window_.StartScreenSaverSettings();
        if (!windowFirst) window_.Show();
    }
    void Show() override { window_.Show(); }
    void Unload() override { window_.Unload(); }

  private:
    frmLumivue& window_;
};

}  // namespace glimra
