#pragma once

#include <string>

#include "controls/Form.h"
#include "controls/TabStrip.h"
#include "win32/base/Scoped.h"
#include "win32/base/Windows.h"
#include <commctrl.h>

namespace glimra::win32 {

// The one tip window of a form: it holds the tips of all its controls and tabs. A control's
// text is asked of the model each time the tip shows, so tips that change follow.
class TipWindow {
  public:
    TipWindow() = default;
    TipWindow(const TipWindow&) = delete;
    TipWindow& operator=(const TipWindow&) = delete;

    void Create(HWND owner, int dpi);
    // Tips wrap at a width, and are written in the system's tip font at a size, that follow
    // the resolution.
    void SetDpi(int dpi);
    // The tip window takes its colours when it is made: at a new scheme it is told the new ones.
    void FollowScheme();
    // The tip window went with its owner, and no longer holds its font.
    void Forget() {
        hwnd_ = nullptr;
        font_.Reset();
    }
    HWND Handle() const { return hwnd_; }

    // A windowless control's tip, over its place on the window it is drawn on.
    void AddWindowless(HWND host, const Control& control, const RECT& place);
    void MoveWindowless(HWND host, const Control& control, const RECT& place);
    // A windowed control's tip, over its whole window.
    void AddWindow(HWND control);
    // One tip for each tab of a tab strip, over the tab.
    void AddTabs(HWND tabs, const TabStrip& strip);
    void MoveTabs(HWND tabs, size_t count);

    // Answers the tip window's request for a control's text (TTN_GETDISPINFO).
    void ProvideText(NMTTDISPINFOW& info, const Form& form);

  private:
    void AddTool(TTTOOLINFOW& tool);

    HWND hwnd_ = nullptr;
    ScopedFont font_;
    std::wstring text_;  // the text last handed to the tip window
};

}  // namespace glimra::win32
