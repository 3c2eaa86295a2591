#pragma once

#include "win32/base/Windows.h"

namespace glimra::win32 {

// The shift state of the model's key and mouse events: 1 Shift, 2 Ctrl, 4 Alt.
inline int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// The buttons held during a mouse message: 1 left, 2 right, 4 middle.
inline int ButtonState(WPARAM wParam) {
    return (wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) |
           (wParam & MK_MBUTTON ? 4 : 0);
}

// The button a release message is about: 1 left, 2 right, 4 middle.
inline int ReleasedButton(UINT message) {
    return message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
}

}  // namespace glimra::win32
