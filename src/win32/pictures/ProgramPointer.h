#pragma once

#include "win32/base/Scoped.h"

namespace glimra::win32 {

// The pointer over the slide-show window: the program icon's picture, its point at the centre.
ScopedCursor CursorFromIcon(HICON icon);

}  // namespace glimra::win32
