#pragma once

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// Answers WM_GETOBJECT for the window of a standard control (button, check box, text box,
// list): the platform's own object, with the name a sighted user reads for the control
// (AccessibleNameOf) and its tip as description. Zero when the platform's object is to answer
// as it is: for anything but the client area, and for controls without such a name.
LRESULT AnswerControlGetObject(HWND hwnd, const Control& control, WPARAM wParam, LPARAM lParam);

}  // namespace glimra::win32
