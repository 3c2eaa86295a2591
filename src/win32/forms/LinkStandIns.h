#pragma once

#include <map>

#include "controls/Control.h"
#include "win32/base/WindowBinding.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

class FormContext;

// A link the keyboard reaches (a label marked as a tab stop) has no window to hold the focus.
// It gets a stand-in: a child window of no size, made at the label's place in the tab order, so
// the platform's dialog navigation reaches it as it reaches any control, and the mouse never
// meets it. Enter and Space on it click the label; while it has the focus the windowless layer
// draws the focus round the label and its icon; a screen reader reads it as the link.
class LinkStandIns {
  public:
    explicit LinkStandIns(FormContext& owner) : owner_(owner) {}
    LinkStandIns(const LinkStandIns&) = delete;
    LinkStandIns& operator=(const LinkStandIns&) = delete;

    // Makes the stand-in of `control`, drawn on `host`, when it is a link the keyboard reaches.
    void CreateFor(Control& control, HWND host);
    // The windows went with the form's window.
    void Forget() { standIns_.clear(); }
    // The stand-in follows its label: its place, shown or hidden, enabled or not.
    void Sync(const Control& control);
    HWND StandInOf(const Control& control) const;

  private:
    struct StandIn {
        HWND hwnd = nullptr;
        WindowBinding binding;
    };

    FormContext& owner_;
    std::map<const Control*, StandIn> standIns_;
};

}  // namespace glimra::win32
