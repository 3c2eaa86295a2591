#pragma once

#include "controls/Peers.h"
#include "controls/Timer.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// A thread timer that raises the model timer's Tick from the message loop.
class Win32Timer : public TimerPeer {
  public:
    explicit Win32Timer(Timer& timer) : timer_(timer) {}
    ~Win32Timer() override { Stop(); }

    void Start(int intervalMs) override;
    void Stop() override;

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);

    Timer& timer_;
    UINT_PTR id_ = 0;
};

}  // namespace glimra::win32
