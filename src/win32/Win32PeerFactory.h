#pragma once

#include "controls/Peers.h"
#include "platform/Screen.h"
#include "win32/Windows.h"

namespace glimra::win32 {

// Makes the platform windows and timers of the model, and ends the message loop when the
// last form is unloaded.
class Win32PeerFactory : public PeerFactory {
  public:
    Win32PeerFactory(Screen& screen, HICON icon, HCURSOR formPointer)
        : screen_(screen), icon_(icon), formPointer_(formPointer) {}

    std::unique_ptr<FormPeer> CreateFormPeer(Form& form) override;
    std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) override;
    void Quit() override { PostQuitMessage(0); }

  private:
    Screen& screen_;
    HICON icon_;
    HCURSOR formPointer_;
};

}  // namespace glimra::win32
