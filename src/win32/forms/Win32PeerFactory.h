#pragma once

#include "controls/Peers.h"
#include "platform/Screen.h"
#include "win32/base/Windows.h"
#include "win32/forms/FormWindow.h"

namespace glimra::win32 {

// Makes the platform windows and timers of the model, and ends the message loop when the
// last form is unloaded.
class Win32PeerFactory : public PeerFactory {
  public:
    Win32PeerFactory(Screen& screen, FormWindow::Resources resources)
        : screen_(screen), resources_(resources) {}

    std::unique_ptr<FormPeer> CreateFormPeer(Form& form) override;
    std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) override;
    void Quit() override { PostQuitMessage(0); }

  private:
    Screen& screen_;
    FormWindow::Resources resources_;
};

}  // namespace glimra::win32
