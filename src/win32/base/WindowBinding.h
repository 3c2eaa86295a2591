#pragma once

#include "platform/EntryGuard.h"
#include "win32/base/Windows.h"

namespace glimra {
class Control;
}

namespace glimra::win32 {

class FormContext;

// What one window made for a form stands for: the form window it belongs to and, for the
// window of a control, that control. Every such window carries its binding from its creation
// to its destruction, and BindingOf is the one way from a window handle to these objects.
struct WindowBinding {
    FormContext* form = nullptr;
    Control* control = nullptr;  // null for the form's own window
};

namespace binding_detail {
inline constexpr wchar_t kProperty[] = L"Glimra.WindowBinding";
}

inline void Bind(HWND hwnd, const WindowBinding& binding) {
    SetPropW(hwnd, binding_detail::kProperty, const_cast<WindowBinding*>(&binding));
}

inline void Unbind(HWND hwnd) {
    RemovePropW(hwnd, binding_detail::kProperty);
}

// The binding of a window, or null for a window that is none of a form's.
inline const WindowBinding* BindingOf(HWND hwnd) {
    return hwnd ? static_cast<const WindowBinding*>(GetPropW(hwnd, binding_detail::kProperty))
                : nullptr;
}

// The procedure of a window made for a control: `handle(form, control)` answers each message
// under the entry guard while the window is bound; the binding goes with the window.
template <typename Handle>
LRESULT ControlWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Handle handle) {
    const WindowBinding* binding = BindingOf(hwnd);
    if (message == WM_NCDESTROY) Unbind(hwnd);
    if (!binding || !binding->control || message == WM_NCDESTROY)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return Contained([&] { return handle(*binding->form, *binding->control); }, LRESULT{0});
}

}  // namespace glimra::win32
