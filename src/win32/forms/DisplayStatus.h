#pragma once

#include <optional>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// The session's display turning off and on, which the slide show rests through. The session's,
// not the console's: a remote session's viewer watches on while the console's display is off.
class DisplayStatus {
  public:
    DisplayStatus() = default;
    DisplayStatus(const DisplayStatus&) = delete;
    DisplayStatus& operator=(const DisplayStatus&) = delete;
    ~DisplayStatus() { Stop(); }

    // The system tells `hwnd` of each change (WM_POWERBROADCAST), until Stop.
    void Watch(HWND hwnd);
    void Stop();

    // Whether a power-setting notice says the display is seen (on or dimmed) or not (off);
    // none when it tells of something else.
    static std::optional<bool> Read(LPARAM setting);

  private:
    HPOWERNOTIFY registration_ = nullptr;
};

}  // namespace glimra::win32
