#pragma once

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

class FormContext;

// The messages that every window holding controls answers alike: the form's own window and
// the container windows of picture boxes and frames. Routing only: each message goes to the
// room that owns what it is about (the controls' windows, the tips, the folder lists' rows,
// the windowless layer). True when the message was handled, with its result.
bool RouteHostMessage(FormContext& owner, HWND hwnd, Container& container, Control* self,
                      UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The window class of the container windows (registered on first use), or null when it could
// not be registered.
const wchar_t* ContainerWindowClass();

}  // namespace glimra::win32
