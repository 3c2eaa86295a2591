#pragma once

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// What a windowless control (label, image) is to assistive technology: a simple element of
// the accessible object of the window it is drawn on.

// Visible labels and images are seen; lines are decoration.
bool IsAccessibleWindowless(const Control& control);

// Its child id on its container's object: the same for as long as the form exists, whatever
// is shown or hidden.
LONG AccessibleChildIdOf(const Control& control);

// Labels and images under the pointing hand are links: a click on them opens something.
bool IsLink(const Control& control);

// A link, a graphic or static text.
LONG AccessibleRoleOf(const Control& control);

// Where `host`, at `dpi`, draws the control, on the screen.
RECT ScreenRectOf(const Control& control, HWND host, int dpi);

// Read-only (or linked, for a link); unavailable when disabled, with the page it is on;
// off-screen when it lies outside what the dialog shows, as on a page out of view.
LONG AccessibleStateOf(const Control& control, HWND host, int dpi);

}  // namespace glimra::win32
