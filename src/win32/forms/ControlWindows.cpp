#include "win32/forms/ControlWindows.h"

#include <commctrl.h>

#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/FolderLists.h"
#include "controls/Form.h"
#include "controls/TabStrip.h"
#include "controls/TextBox.h"
#include "platform/EntryGuard.h"
#include "platform/ScopedFlag.h"
#include "win32/accessibility/NamedControlAccessible.h"
#include "win32/base/Containers.h"
#include "win32/base/Dpi.h"
#include "win32/base/InputState.h"
#include "win32/forms/FormContext.h"
#include "win32/forms/TipWindow.h"
#include "win32/painting/FontCache.h"
#include "win32/painting/WindowlessLayer.h"

namespace glimra::win32 {
namespace {

bool IsList(const Control& control) {
    return control.Kind() == ControlKind::DriveList || control.Kind() == ControlKind::DirList ||
           control.Kind() == ControlKind::FileList;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

HWND ControlWindows::WindowOf(const Control& control) const {
    auto found = children_.find(&control);
    return found == children_.end() ? nullptr : found->second.hwnd;
}

HWND ControlWindows::FirstInTabOrder(Container& container) const {
    for (Control* control : InTabOrder(container)) {
        const HWND hwnd = WindowOf(*control);
        if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) continue;
        if (Container* inner = AsContainer(*control)) {
            if (const HWND first = FirstInTabOrder(*inner)) return first;
        } else if (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) {
            return hwnd;
        }
    }
    return nullptr;
}

HWND ControlWindows::HostWindowOf(const Control& control) const {
    const Control* parent = ParentControlOf(control);
    return parent ? WindowOf(*parent) : owner_.Handle();
}

// ---- from the model to the windows

void ControlWindows::SyncAll() {
    for (Control* control : owner_.Model().AllControls())
        Sync(*control);
}

void ControlWindows::FillShownLists() {
    const ScopedFlag pushing(syncing_);
    for (Control* control : owner_.Model().AllControls()) {
        const auto child = children_.find(control);
        if (child != children_.end() && IsList(*control)) FillList(*control, child->second);
    }
}

void ControlWindows::Sync(Control& control) {
    if (control.Windowless()) {
        const HWND host = HostWindowOf(control);
        if (!host) return;
        InvalidateRect(host, nullptr, FALSE);
        owner_.Tips().MoveWindowless(host, control, owner_.Windowless().RectOf(control));
        accessibleEvents_.Follow(control, host);  // shown, hidden, renamed
        links_.Sync(control);
        return;
    }
    auto found = children_.find(&control);
    if (found == children_.end()) return;
    Child& child = found->second;
    const HWND hwnd = child.hwnd;
    {
        const ScopedFlag pushing(syncing_);
        RECT place = owner_.Windowless().RectOf(control);
        if (control.Kind() == ControlKind::DriveList) {
            // A drop-down list's height includes its open list.
            place.bottom = place.top + owner_.Scale().Px(control.Height()) * 8;
        }
        SetWindowPos(hwnd, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (control.Kind() != ControlKind::TabStrip)
            owner_.Tips().MoveWindowless(GetParent(hwnd), control,
                                         owner_.Windowless().RectOf(control));
        // A control measures itself again when its font is set: only a new font is.
        const HFONT font = owner_.Fonts().Get(control.Font(), owner_.CurrentDpi());
        if (reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) != font)
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SyncContents(control, child);
        Enable(hwnd, control.EffectiveEnabled());
        if (((GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != control.Visible())
            ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    // What is on a container moves and hides with its window; only its enabled state is its
    // own to follow.
    if (Container* inner = AsContainer(control)) SyncEnabled(*inner);
}

void ControlWindows::SyncEnabled(const Container& container) {
    for (Control* control : container.Children()) {
        const HWND hwnd = WindowOf(*control);
        if (!hwnd) {
            links_.Sync(*control);
            continue;
        }
        Enable(hwnd, control->EffectiveEnabled());
        if (const Container* inner = AsContainer(*control)) SyncEnabled(*inner);
    }
}

// A window taken out of use with the focus in it (a page switched away by Ctrl+Tab) would
// leave the focus nowhere and the keyboard dead: the focus goes where the form opens.
void ControlWindows::Enable(HWND hwnd, bool enabled) {
    if ((IsWindowEnabled(hwnd) != FALSE) == enabled) return;
    const HWND focus = GetFocus();
    const bool heldFocus = !enabled && focus && (focus == hwnd || IsChild(hwnd, focus));
    EnableWindow(hwnd, enabled);
    if (!heldFocus) return;
    if (const HWND first = FirstInTabOrder(owner_.Model())) SetFocus(first);
}

void ControlWindows::SyncContents(Control& control, Child& child) {
    const HWND hwnd = child.hwnd;
    auto setText = [hwnd](const std::wstring& text) {
        if (WindowText(hwnd) != text) SetWindowTextW(hwnd, text.c_str());
    };
    switch (control.Kind()) {
        case ControlKind::TextBox:
            setText(static_cast<TextBox&>(control).Text());
            break;
        case ControlKind::CommandButton:
            setText(static_cast<CommandButton&>(control).Caption());
            break;
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(control);
            setText(box.Caption());
            const int states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
            SendMessageW(hwnd, BM_SETCHECK, static_cast<WPARAM>(states[box.Value()]), 0);
            break;
        }
        case ControlKind::TabStrip: {
            const auto& strip = static_cast<TabStrip&>(control);
            SendMessageW(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(strip.SelectedItem() - 1), 0);
            owner_.Tips().MoveTabs(hwnd, strip.Tabs().size());
            break;
        }
        case ControlKind::DriveList:
        case ControlKind::DirList:
        case ControlKind::FileList:
            FillList(control, child);
            break;
        default:
            break;
    }
}

// The items of the drive, folder and file lists and their selection, as the model holds them;
// the items are written again only when they changed. A hidden list, or one on a hidden form,
// gets its items when it is shown: a start that never shows the dialog never reads the folders
// into a window.
void ControlWindows::FillList(const Control& control, Child& child) {
    if (!control.Visible() || !owner_.Model().Visible()) return;
    std::vector<std::wstring> items;
    int index = -1;
    switch (control.Kind()) {
        case ControlKind::DriveList: {
            const auto& drives = static_cast<const DriveListBox&>(control);
            items = drives.List();
            index = drives.ListIndex();
            break;
        }
        case ControlKind::DirList: {
            const auto& folders = static_cast<const DirListBox&>(control);
            for (const FolderEntry& entry : folders.Entries())
                items.push_back(entry.text);
            index = folders.ListIndex();
            break;
        }
        default: {
            const auto& files = static_cast<const FileListBox&>(control);
            items = files.Files();
            index = files.ListIndex();
            break;
        }
    }
    const bool combo = control.Kind() == ControlKind::DriveList;
    const HWND hwnd = child.hwnd;
    if (child.shownItems != items) {
        SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
        SendMessageW(hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        if (!combo) SendMessageW(hwnd, LB_INITSTORAGE, items.size(), items.size() * 64);
        for (const std::wstring& item : items)
            SendMessageW(hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        child.shownItems = std::move(items);
    }
    SendMessageW(hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// ---- from the windows to the model

void ControlWindows::Report(HWND child, WPARAM wParam) {
    const WindowBinding* binding = BindingOf(child);
    if (!binding || binding->form != &owner_ || !binding->control || syncing_) return;
    Control& control = *binding->control;
    const int code = HIWORD(wParam);
    switch (control.Kind()) {
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) control.PlatformClick();
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) static_cast<CheckBox&>(control).PlatformToggle();
            break;
        case ControlKind::TextBox:
            if (code == EN_CHANGE)
                static_cast<TextBox&>(control).PlatformTextChanged(WindowText(child));
            break;
        case ControlKind::DriveList:
            if (code == CBN_SELCHANGE) {
                const auto index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
                static_cast<DriveListBox&>(control).PlatformSelect(index);
            }
            break;
        case ControlKind::DirList:
        case ControlKind::FileList: {
            const auto index = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
            const auto clicked = [code, index](auto& list) {
                if (code == LBN_SELCHANGE) list.PlatformClick(index);
                if (code == LBN_DBLCLK) list.PlatformDblClick(index);
            };
            if (control.Kind() == ControlKind::DirList)
                clicked(static_cast<DirListBox&>(control));
            else
                clicked(static_cast<FileListBox&>(control));
            break;
        }
        default:
            break;
    }
    // The model may have refused the user's choice: show what it holds. A text box's text is
    // the user's own and is never pushed back while it is being typed.
    const bool choice =
        code == BN_CLICKED || code == CBN_SELCHANGE || code == LBN_SELCHANGE || code == LBN_DBLCLK;
    if (choice && control.Kind() != ControlKind::TextBox && owner_.Handle() && WindowOf(control))
        Sync(control);
}

void ControlWindows::ReportTabChange(HWND tabs) {
    const WindowBinding* binding = BindingOf(tabs);
    if (!binding || binding->form != &owner_ || syncing_) return;
    auto* strip = dynamic_cast<TabStrip*>(binding->control);
    if (!strip) return;
    const auto index = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    strip->PlatformSelect(index + 1);
    if (owner_.Handle()) Sync(*strip);
}

LRESULT CALLBACK ControlWindows::StandardControlProc(HWND hwnd, UINT message, WPARAM wParam,
                                                     LPARAM lParam, UINT_PTR, DWORD_PTR) {
    const bool mouse = message == WM_MOUSEMOVE || message == WM_LBUTTONUP ||
                       message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    const WindowBinding* binding = BindingOf(hwnd);
    if (mouse && binding) {
        Contained([&] {
            const Dpi& dpi = binding->form->Scale();
            const float x = dpi.Twips(static_cast<short>(LOWORD(lParam)));
            const float y = dpi.Twips(static_cast<short>(HIWORD(lParam)));
            if (message != WM_MOUSEMOVE) {
                binding->control->PlatformMouseUp(ReleasedButton(message), ShiftState(), x, y);
            } else if (binding->form->IsMovement(hwnd, lParam)) {
                binding->control->PlatformMouseMove(ButtonState(wParam), ShiftState(), x, y);
            }
        });
    }
    if (message == WM_GETOBJECT && binding && binding->control) {
        // The control named as a sighted user reads it, for assistive technology.
        const LRESULT object = Contained(
            [&] { return AnswerControlGetObject(hwnd, *binding->control, wParam, lParam); },
            LRESULT{0});
        if (object) return object;
    }
    if (message == WM_NCDESTROY) {
        Unbind(hwnd);
        RemoveWindowSubclass(hwnd, &ControlWindows::StandardControlProc, 1);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace glimra::win32
