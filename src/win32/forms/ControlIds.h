#pragma once

#include <string_view>

namespace glimra::win32 {

// The child-window id of a control, made from its name so that another process (the
// end-to-end tests) can find "txtPathLocation" with GetDlgItem-like searches. Ids stay clear of
// the dialog manager's own (IDOK, IDCANCEL...).
inline int ControlIdOf(std::wstring_view name) {
    unsigned hash = 2166136261u;
    for (wchar_t c : name) {
        hash ^= static_cast<unsigned>(c);
        hash *= 16777619u;
    }
    return 1000 + static_cast<int>(hash % 30000u);
}

}  // namespace glimra::win32
