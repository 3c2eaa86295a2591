#pragma once

#include <oleacc.h>
#include <wrl/client.h>

#include <map>
#include <string>

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// Tells assistive technology what changes on the windowless controls it cannot watch for
// itself, as the platform does for windows: a label or image shown or hidden, and a change of
// its name (the hint line's new text). Each change is raised once, on the child of the
// container's client area that stands for the control; a change of look alone raises nothing.
// A dialog's label whose text changes is a notice: it becomes a polite live region, and each
// new text it shows is raised as a change of the region, so that it is read out as it comes.
class WindowlessEvents {
  public:
    // The control, drawn on `host`, was made or changed. A control's first report on a window
    // only records it, and nothing is raised while the window is hidden.
    void Follow(const Control& control, HWND host);

  private:
    struct Seen {
        HWND host = nullptr;
        bool shown = false;
        std::wstring name;
        bool live = false;  // marked as a live region on `host`
    };
    void MarkLive(HWND host, LONG child);

    std::map<const Control*, Seen> seen_;
    Microsoft::WRL::ComPtr<IAccPropServices> annotations_;
    bool annotationsAsked_ = false;
};

}  // namespace glimra::win32
