#pragma once

#include <vector>

#include "controls/Form.h"
#include "platform/Screen.h"
#include "win32/base/Windows.h"
#include "win32/monitors/Monitors.h"

namespace glimra::win32 {

// Black windows over every monitor but the primary one, which a full-screen window covers, so
// no part of any monitor shows the desktop while it is up. They are topmost whenever that window
// is, and a click, a key or a movement over them reaches its form as if it were over the window.
class MonitorCovers {
  public:
    MonitorCovers(Form& form, Screen& screen, HCURSOR pointer,
                  MonitorList monitors = &CurrentMonitors);
    MonitorCovers(const MonitorCovers&) = delete;
    MonitorCovers& operator=(const MonitorCovers&) = delete;
    ~MonitorCovers() { Update(nullptr, false); }

    // Covers the other monitors of the moment while `fullScreen`, following `window`'s
    // topmost state; releases them otherwise. Run again when the monitors change.
    void Update(HWND window, bool fullScreen);

    const std::vector<HWND>& Windows() const { return covers_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleInput(HWND cover, UINT message, WPARAM wParam, LPARAM lParam);

    Form& form_;
    Screen& screen_;
    HCURSOR pointer_;
    MonitorList monitors_;
    HWND window_ = nullptr;
    std::vector<HWND> covers_;
};

}  // namespace glimra::win32
