#include "win32/forms/DialogKeys.h"

#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/TabStrip.h"
#include "win32/base/InputState.h"
#include "win32/forms/ControlWindows.h"
#include "win32/forms/FormContext.h"

namespace glimra::win32 {
namespace {

wchar_t Upper(wchar_t c) {
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

// The access key of a caption: the letter after a single ampersand, upper case, or 0.
wchar_t AccessKeyOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return Upper(caption[i + 1]);
        ++i;
    }
    return 0;
}

}  // namespace

bool DialogKeys::PreTranslate(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    const HWND root = window_.Handle();
    if (!root || (message.hwnd != root && !IsChild(root, message.hwnd))) return false;
    Form& form = window_.Model();
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (keyDown && form.Design().keyPreview) {
        form.PlatformKeyDown(static_cast<int>(message.wParam), ShiftState());
        if (window_.Handle() != root) return true;  // the key closed the dialog
        // F1 is the key preview's: it opens the dialog's own help, and goes no further, so
        // no other window's help (the settings window's that owns the dialog) opens too.
        if (message.wParam == VK_F1) return true;
    }
    // Ctrl+Tab belongs to the key preview, not to the tab order.
    if (keyDown && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) return false;
    const bool alt = message.message == WM_SYSCHAR;
    bool plain = false;
    if (message.message == WM_CHAR) {
        const HWND focus = GetFocus();
        plain = !(SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_HASSETSEL));
    }
    if ((alt || plain) && SelectTabByAccessKey(Upper(static_cast<wchar_t>(message.wParam))))
        return true;
    return IsDialogMessageW(root, &message) != FALSE;
}

bool DialogKeys::SelectTabByAccessKey(wchar_t key) {
    bool controlHasIt = false;
    TabStrip* tabs = nullptr;
    for (Control* control : window_.Model().AllControls()) {
        if (auto* strip = dynamic_cast<TabStrip*>(control)) tabs = strip;
        std::wstring caption;
        if (auto* button = dynamic_cast<CommandButton*>(control)) caption = button->Caption();
        if (auto* box = dynamic_cast<CheckBox*>(control)) caption = box->Caption();
        if (control->EffectiveEnabled() && control->Visible() && AccessKeyOf(caption) == key)
            controlHasIt = true;
    }
    if (!tabs || controlHasIt || !tabs->EffectiveEnabled()) return false;
    for (size_t i = 0; i < tabs->Tabs().size(); ++i) {
        if (AccessKeyOf(tabs->Tabs()[i].caption) != key) continue;
        tabs->PlatformSelect(static_cast<int>(i) + 1);
        if (window_.Handle()) {
            window_.Controls().Sync(*tabs);
            SetFocus(window_.WindowOf(*tabs));
        }
        return true;
    }
    return false;
}

void PressCancelButton(Form& form) {
    for (Control* control : form.AllControls()) {
        auto* button = dynamic_cast<CommandButton*>(control);
        if (button && button->Cancel() && button->EffectiveEnabled()) {
            button->PlatformClick();
            return;
        }
    }
}

}  // namespace glimra::win32
