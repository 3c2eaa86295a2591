#pragma once

#include "win32/base/Windows.h"

namespace glimra::win32 {

class FormContext;
class SchemeColors;

// A new colour scheme, theme, high-contrast setting or set of system fonts, as the system tells
// the form window of it: the window's controls, its tip window and its colours follow, and all
// is drawn again. Any other setting changes nothing drawn, and is passed over.
void FollowSchemeChange(FormContext& window, SchemeColors& scheme, UINT message, WPARAM wParam,
                        LPARAM lParam);

}  // namespace glimra::win32
