#pragma once

#include <oleacc.h>

#include <string>

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

// The type description of IAccessible, from the type library in the platform's accessibility
// library in the system folder, read once and kept; null when it cannot be had.
inline ITypeInfo* AccessibleTypeInfo() {
    static ITypeInfo* const type = []() -> ITypeInfo* {
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        const std::wstring path = std::wstring(folder, length) + L"\\oleacc.dll";
        ITypeLib* library = nullptr;
        if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) return nullptr;
        ITypeInfo* found = nullptr;
        if (FAILED(library->GetTypeInfoOfGuid(__uuidof(IAccessible), &found))) found = nullptr;
        library->Release();  // the type description keeps its library
        return found;
    }();
    return type;
}

}  // namespace glimra::win32
