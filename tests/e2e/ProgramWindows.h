#pragma once

// What the end-to-end helpers share: finding a control of the program's windows by its name,
// and printing in UTF-8.
#include <cstdio>
#include <string>
#include <utility>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on

#include "win32/forms/ControlIds.h"

namespace glimra::e2e {

// Writes a line in UTF-8, whatever the console's code page.
inline void PrintUtf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes,
                        nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

// The window of the control `name` in the top-level window captioned `caption`, or null.
inline HWND ControlOf(const wchar_t* caption, const wchar_t* name) {
    HWND window = FindWindowW(nullptr, caption);
    std::pair<int, HWND> found{glimra::win32::ControlIdOf(name), nullptr};
    auto byId = [](HWND child, LPARAM context) -> BOOL {
        auto* wanted = reinterpret_cast<std::pair<int, HWND>*>(context);
        if (GetDlgCtrlID(child) != wanted->first) return TRUE;
        wanted->second = child;
        return FALSE;
    };
    if (window) EnumChildWindows(window, byId, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

}  // namespace glimra::e2e
