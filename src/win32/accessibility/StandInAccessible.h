#pragma once

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

class AccessibleHost;

// Answers WM_GETOBJECT for the window that stands in for a windowless link in the tab order
// (`link`, drawn on the stand-in's parent): the platform's object for the window, read as the
// link itself, as its container reads it (name, role, states, place and default action), and
// focused while the window has the focus. So a reader told that the focus moved to the window
// reads the link. Zero for anything but the client area.
LRESULT AnswerStandInGetObject(const AccessibleHost& window, HWND standIn, const Control& link,
                               WPARAM wParam, LPARAM lParam);

}  // namespace glimra::win32
