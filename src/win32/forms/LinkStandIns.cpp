#include "win32/forms/LinkStandIns.h"

#include "controls/Label.h"
#include "platform/EntryGuard.h"
#include "win32/accessibility/StandInAccessible.h"
#include "win32/forms/ControlIds.h"
#include "win32/forms/FormContext.h"
#include "win32/painting/WindowlessLayer.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kStandInClass[] = L"GlimraLinkFocus";

bool IsKeyboardLink(const Control& control) {
    const auto* label = dynamic_cast<const Label*>(&control);
    return label && label->TabStop();
}

// The window the link is drawn on draws its focus, too.
void ShowFocusChange(FormContext& owner, HWND standIn, const Control& link) {
    const RECT area = owner.Windowless().FocusRectOf(link);
    InvalidateRect(GetParent(standIn), &area, FALSE);
}

LRESULT HandleStandInMessage(FormContext& owner, HWND hwnd, Control& link, UINT message,
                             WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter is the link's: the dialog's navigation would take it for a default button.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return enter ? DLGC_WANTMESSAGE : 0;
        }
        case WM_KEYDOWN:
            // A click once per press, however long the key is held.
            if ((wParam == VK_RETURN || wParam == VK_SPACE) && !(lParam & (1 << 30)))
                link.PlatformClick();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            ShowFocusChange(owner, hwnd, link);
            // The system tells of the focus; the link's focused state is this object's own.
            NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
            return 0;
        case WM_UPDATEUISTATE: {
            // The keyboard cues came or went, and the focus rectangle with them.
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
            ShowFocusChange(owner, hwnd, link);
            return result;
        }
        case WM_GETOBJECT:
            if (const LRESULT object = AnswerStandInGetObject(owner, hwnd, link, wParam, lParam))
                return object;
            break;
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // the mouse is the windowless layer's
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK StandInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlWindowMessage(
        hwnd, message, wParam, lParam, [&](FormContext& form, Control& control) {
            return HandleStandInMessage(form, hwnd, control, message, wParam, lParam);
        });
}

bool StandInClassRegistered() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &StandInProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kStandInClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    return registered;
}

}  // namespace

void LinkStandIns::CreateFor(Control& control, HWND host) {
    if (!IsKeyboardLink(control) || !StandInClassRegistered()) return;
    // The label's id, so that another process finds the focus as the link's.
    const HWND hwnd =
        CreateWindowExW(0, kStandInClass, L"", WS_CHILD | WS_TABSTOP, 0, 0, 0, 0, host,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(control.Name()))),
                        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return;
    StandIn& standIn = standIns_[&control];
    standIn.hwnd = hwnd;
    standIn.binding = {&owner_, &control};
    Bind(hwnd, standIn.binding);
    Sync(control);
}

void LinkStandIns::Sync(const Control& control) {
    const HWND hwnd = StandInOf(control);
    if (!hwnd) return;
    const RECT place = owner_.Windowless().RectOf(control);
    SetWindowPos(hwnd, nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool enabled = control.EffectiveEnabled();
    if ((IsWindowEnabled(hwnd) != FALSE) != enabled) EnableWindow(hwnd, enabled);
    if (((GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != control.Visible())
        ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
}

HWND LinkStandIns::StandInOf(const Control& control) const {
    const auto found = standIns_.find(&control);
    return found == standIns_.end() ? nullptr : found->second.hwnd;
}

}  // namespace glimra::win32
