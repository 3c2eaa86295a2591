#include "win32/forms/HostMessages.h"

#include <commctrl.h>

#include "controls/Form.h"
#include "platform/EntryGuard.h"
#include "win32/accessibility/ContainerAccessible.h"
#include "win32/base/Containers.h"
#include "win32/base/PaintScope.h"
#include "win32/forms/ControlWindows.h"
#include "win32/forms/DialogKeys.h"
#include "win32/forms/FolderListRows.h"
#include "win32/forms/FormContext.h"
#include "win32/forms/TipWindow.h"
#include "win32/painting/KeptSurface.h"
#include "win32/painting/WindowlessLayer.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kContainerClass[] = L"GlimraContainer";

bool Notify(FormContext& owner, NMHDR& header, LRESULT& result) {
    if (header.code == TTN_GETDISPINFOW) {
        owner.Tips().ProvideText(reinterpret_cast<NMTTDISPINFOW&>(header), owner.Model());
        return true;
    }
    if (header.code == TCN_SELCHANGE) {
        owner.Controls().ReportTabChange(header.hwndFrom);
        result = 0;
        return true;
    }
    return false;
}

LRESULT HandleContainerMessage(FormContext& owner, HWND hwnd, Control& self, UINT message,
                               WPARAM wParam, LPARAM lParam) {
    Container* container = AsContainer(self);
    LRESULT result = 0;
    if (container &&
        RouteHostMessage(owner, hwnd, *container, &self, message, wParam, lParam, result))
        return result;
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const PaintScope paint(hwnd);  // ended even when drawing fails
            if (container) {
                owner.Windowless().PaintContainer(
                    hwnd, paint.Dc(), owner.Surface().ContainerFrame(), *container, self);
            }
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlWindowMessage(
        hwnd, message, wParam, lParam, [&](FormContext& form, Control& control) {
            return HandleContainerMessage(form, hwnd, control, message, wParam, lParam);
        });
}

}  // namespace

const wchar_t* ContainerWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &ContainerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kContainerClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    return registered ? kContainerClass : nullptr;
}

bool RouteHostMessage(FormContext& owner, HWND hwnd, Container& container, Control* self,
                      UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    // The object of this window's client area for assistive technology, and its links' default
    // action.
    if (AnswerContainerAccessibility(owner, hwnd, container, self, message, wParam, lParam, result))
        return true;
    switch (message) {
        case WM_COMMAND: {
            const auto child = reinterpret_cast<HWND>(lParam);
            if (!child && LOWORD(wParam) == IDCANCEL) {
                PressCancelButton(owner.Model());
            } else {
                owner.Controls().Report(child, wParam);
            }
            return true;
        }
        case WM_NOTIFY:
            return Notify(owner, *reinterpret_cast<NMHDR*>(lParam), result);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // The system's text on its face, whatever the scheme: a caption left in the text
            // colour the paint began with is black on a dark face. A text box that asks is
            // one that cannot be typed in, which shows a window's text on the face.
            const auto dc = reinterpret_cast<HDC>(wParam);
            const WindowBinding* asking = BindingOf(reinterpret_cast<HWND>(lParam));
            const bool text =
                asking && asking->control && asking->control->Kind() == ControlKind::TextBox;
            SetTextColor(dc, GetSysColor(text ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        }
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight =
                static_cast<UINT>(FolderRowHeight(owner.CurrentDpi()));
            result = TRUE;
            return true;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            const WindowBinding* binding = BindingOf(item.hwndItem);
            if (binding && binding->control)
                DrawFolderRow(item, *binding->control, owner.CurrentDpi());
            result = TRUE;
            return true;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) != hwnd || LOWORD(lParam) != HTCLIENT) return false;
            owner.Windowless().SetPointer(hwnd, container, self);
            result = TRUE;
            return true;
        case WM_MOUSEMOVE:
            if (owner.IsMovement(hwnd, lParam))
                owner.Windowless().Mouse(container, self, message, wParam, lParam);
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            owner.Windowless().Mouse(container, self, message, wParam, lParam);
            return true;
        default:
            return false;
    }
}

}  // namespace glimra::win32
