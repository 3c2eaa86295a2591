#pragma once

#include "win32/base/Windows.h"

namespace glimra::win32 {

// A message-only window of the class `name`, registered with `procedure` at its first use,
// carrying `owner` for the procedure to find (GWLP_USERDATA): how a worker's results reach
// the window's thread. Null when the platform makes none.
inline HWND MakeMessageWindow(const wchar_t* name, WNDPROC procedure, void* owner) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }
    const HWND window =
        CreateWindowExW(0, name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

}  // namespace glimra::win32
