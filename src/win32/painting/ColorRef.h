#pragma once

#include "controls/Style.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The platform's colour for a model colour, system colours included.
inline COLORREF ColorRefOf(Color color) {
    if (color & kSystemColorFlag) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

}  // namespace glimra::win32
