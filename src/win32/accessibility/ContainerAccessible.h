#pragma once

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

class AccessibleHost;

// Answers, for a window that shows `container` (the form's client area, or the window of the
// picture box or frame `self`), the messages of assistive technology: WM_GETOBJECT for its
// client area, and the default action of one of its links, which the accessible object posts
// to it so that the client that asked for it is not kept waiting. True when handled.
//
// The accessible object answers as the platform's object for the window does, except that its
// children are, in tab order, the windows of its windowed controls and, as simple elements,
// its labels (static text), images (graphics) and links, the hidden ones too, as invisible, so
// that child ids 1 to the child count stay the same whatever is shown; that a frame is a
// grouping named by its caption; and that a dialog's client area is a dialog.
bool AnswerContainerAccessibility(const AccessibleHost& window, HWND hwnd,
                                  const Container& container, const Control* self, UINT message,
                                  WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace glimra::win32
