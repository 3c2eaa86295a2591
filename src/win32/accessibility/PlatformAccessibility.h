#pragma once

#include <oleacc.h>

#include "win32/base/SystemLibrary.h"

namespace glimra::win32 {

// The platform's accessibility functions, from its library in the system folder; each fails
// as the platform's own does when the library cannot be had.

inline HRESULT StandardAccessibleObject(HWND hwnd, LONG object, REFIID id, void** out) {
    static const auto create = SystemFunction<decltype(CreateStdAccessibleObject)>(
        L"oleacc.dll", "CreateStdAccessibleObject");
    if (!create) return E_NOTIMPL;
    return create(hwnd, object, id, out);
}

inline LRESULT ResultFromObject(REFIID id, WPARAM wParam, IUnknown* object) {
    static const auto result =
        SystemFunction<decltype(LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return result ? result(id, wParam, object) : 0;
}

inline HRESULT ObjectFromWindow(HWND hwnd, DWORD object, REFIID id, void** out) {
    static const auto fromWindow = SystemFunction<decltype(AccessibleObjectFromWindow)>(
        L"oleacc.dll", "AccessibleObjectFromWindow");
    if (!fromWindow) return E_NOTIMPL;
    return fromWindow(hwnd, object, id, out);
}

}  // namespace glimra::win32
