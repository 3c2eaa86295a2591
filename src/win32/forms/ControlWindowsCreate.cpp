// The control windows made in tab order: their window kinds, tips and bindings, and what the
// platform measures at a resolution.
#include "win32/forms/ControlWindows.h"

#include <commctrl.h>

#include "controls/TabStrip.h"
#include "platform/ScopedFlag.h"
#include "win32/base/Containers.h"
#include "win32/base/Dpi.h"
#include "win32/forms/ControlIds.h"
#include "win32/forms/FolderListRows.h"
#include "win32/forms/FormContext.h"
#include "win32/forms/TipWindow.h"
#include "win32/painting/WindowlessLayer.h"

namespace glimra::win32 {
namespace {

struct WindowKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

WindowKind WindowKindOf(ControlKind kind, const wchar_t* containerClass) {
    const DWORD child = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
    switch (kind) {
        case ControlKind::TextBox:
            return {WC_EDITW, child | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            return {WC_BUTTONW, child | BS_3STATE, 0};
        case ControlKind::CommandButton:
            return {WC_BUTTONW, child | BS_PUSHBUTTON, 0};
        case ControlKind::TabStrip:
            return {WC_TABCONTROLW, child | TCS_FOCUSONBUTTONDOWN, 0};
        case ControlKind::DriveList:
            return {WC_COMBOBOXW,
                    child | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0};
        case ControlKind::DirList:
            return {WC_LISTBOXW,
                    child | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED |
                        LBS_HASSTRINGS,
                    WS_EX_CLIENTEDGE};
        case ControlKind::FileList:
            return {WC_LISTBOXW, child | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    WS_EX_CLIENTEDGE};
        default:  // picture boxes and frames hold other controls
            return {containerClass, WS_CHILD | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    }
}

}  // namespace

void ControlWindows::Create(Container& form, HWND formWindow, const wchar_t* containerClass) {
    const ScopedFlag creating(syncing_);
    containerClass_ = containerClass;
    CreateIn(form, formWindow);
    // A tab strip lies behind the pages placed over it. The platform stacks windows in the
    // order they are made, the first on top, and the tab strip is first in tab order; left
    // there, every repaint of it (a tab chosen, a hot tab, a theme's pane) would paint over
    // the controls of the page in view. Behind them, it is clipped by them. The tab order, a
    // cycle, stays the same.
    for (const auto& [control, child] : children_) {
        if (control->Kind() == ControlKind::TabStrip)
            SetWindowPos(child.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ControlWindows::CreateIn(Container& container, HWND parent) {
    for (Control* control : InTabOrder(container)) {
        if (control->Windowless()) {
            owner_.Tips().AddWindowless(HostWindowOf(*control), *control,
                                        owner_.Windowless().RectOf(*control));
            accessibleEvents_.Follow(*control, parent);  // its first state
            links_.CreateFor(*control, parent);
            continue;
        }
        CreateChild(*control, parent);
        if (Container* inner = AsContainer(*control)) CreateIn(*inner, WindowOf(*control));
    }
}

void ControlWindows::CreateChild(Control& control, HWND parent) {
    const WindowKind kind = WindowKindOf(control.Kind(), containerClass_);
    const HWND hwnd =
        CreateWindowExW(kind.exStyle, kind.windowClass, L"", kind.style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(control.Name()))),
                        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return;
    Child& child = children_[&control];
    child.hwnd = hwnd;
    child.binding = {&owner_, &control};
    Bind(hwnd, child.binding);
    if (AsContainer(control)) {
        Sync(control);
        return;
    }
    // Standard controls keep their mouse to themselves: their moves and releases are passed on
    // to the model as well, for the controls that handle them.
    SetWindowSubclass(hwnd, &ControlWindows::StandardControlProc, 1, 0);
    if (control.Kind() == ControlKind::TabStrip) {
        const auto& strip = static_cast<const TabStrip&>(control);
        for (size_t i = 0; i < strip.Tabs().size(); ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(strip.Tabs()[i].caption.c_str());
            SendMessageW(hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        owner_.Tips().AddTabs(hwnd, strip);
    } else {
        owner_.Tips().AddWindow(hwnd);
        // A disabled window gets no mouse: its parent does. The same tip on the parent, over
        // the control's place, tells why the control is off (a setting an administrator set).
        owner_.Tips().AddWindowless(parent, control, owner_.Windowless().RectOf(control));
    }
    Sync(control);
    FitToDpi(control, hwnd);
}

// What the platform measures once, with the font a control has when it is made, is measured
// again for the resolution.
void ControlWindows::FitToDpi(const Control& control, HWND hwnd) {
    const int dpi = owner_.CurrentDpi();
    switch (control.Kind()) {
        case ControlKind::TabStrip:
            // Narrow margins, so that all five captions fit in the strip's width. The tabs are
            // laid out again when their font is set.
            SendMessageW(hwnd, TCM_SETPADDING, 0,
                         MAKELPARAM(MulDiv(4, dpi, 96), MulDiv(3, dpi, 96)));
            SendMessageW(hwnd, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
            break;
        case ControlKind::DirList:
            SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, FolderRowHeight(dpi));
            break;
        case ControlKind::DriveList:
            SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FolderRowHeight(dpi));
            SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, FolderRowHeight(dpi));
            break;
        default:
            break;
    }
}

void ControlWindows::FitToDpi() {
    for (const auto& [control, child] : children_)
        FitToDpi(*control, child.hwnd);
}

}  // namespace glimra::win32
