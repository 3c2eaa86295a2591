#pragma once

#include <vector>

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The children of a container's accessible object, and what a windowless control (label,
// image) is to assistive technology: a simple element of the object of the window it is drawn
// on.

// Every control on the container but its lines, which are decoration, and the icons of links,
// which are read as part of their link, shown or hidden, in tab order. A child's id is its
// place here, from 1: it stays the same for as long as the form exists, whatever is shown,
// hidden or moved, and the ids run from 1 to the number of children.
std::vector<Control*> AccessibleChildrenOf(const Container& container);
// The same children in the order a reader reads them, whatever the tab order: line by line
// from the top, each line from the left. A line is what starts above the middle of its first
// (topmost) control.
std::vector<Control*> InReadingOrder(const Container& container);
// The link whose icon the control is, or null.
const Control* LinkOfIcon(const Control& control);

// Its child id on its container's object; 0 for a line.
LONG AccessibleChildIdOf(const Control& control);

// The child of that id, or null.
Control* AccessibleChildAt(const Container& container, LONG id);

// Visible labels and images are seen; lines are decoration.
bool IsAccessibleWindowless(const Control& control);

// Labels and images under the pointing hand are links: a click on them opens something.
bool IsLink(const Control& control);

// A link the keyboard reaches: a label that is a tab stop, whose window stand-in takes the focus.
bool TakesFocus(const Control& control);

// The message a link's default action is posted with to the window it is drawn on, and the
// posting: the action (a click, which may open a window) runs once the client that asked has
// its answer.
UINT DefaultActionMessage();
bool PostDefaultAction(const Control& link, HWND host);

// A link, a graphic or static text; for a windowed control, the role of its kind of window.
LONG AccessibleRoleOf(const Control& control);

// Where `host`, at `dpi`, draws the control, on the screen.
RECT ScreenRectOf(const Control& control, HWND host, int dpi);

// Read-only (or linked, for a link, and focusable, focused while its stand-in has the focus, for
// one the keyboard reaches); unavailable when disabled, with the page it is on;
// invisible when hidden; off-screen when it lies outside what the dialog shows, as on a page
// out of view.
LONG AccessibleStateOf(const Control& control, HWND host, int dpi);

}  // namespace glimra::win32
