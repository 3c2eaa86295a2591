#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win32/base/Windows.h"

namespace glimra::win32::testing {

// What a dialog box of this thread showed while it was open.
struct SeenDialog {
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::wstring caption;
    std::wstring text;         // the texts of its plain static controls, joined
    std::vector<int> buttons;  // the command IDs of its visible buttons, in window order
    bool icon = false;         // a visible icon control holding an icon
};

// Watches this thread's windows from a timer while a modal call (a message box, the shell)
// runs its message loop: reports the first dialog box (class #32770) that appears and presses
// its button `press`. A box that has no such button is ended all the same, so a test fails
// instead of hanging.
class DialogProbe {
  public:
    explicit DialogProbe(int press) : press_(press) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~DialogProbe() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogProbe(const DialogProbe&) = delete;
    DialogProbe& operator=(const DialogProbe&) = delete;

    std::optional<SeenDialog> seen;

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ && !current_->seen) current_->Look();
    }

    static std::wstring ClassOf(HWND window) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        return name;
    }
    static std::wstring TextOf(HWND window) {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    void Look() {
        HWND box = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) -> BOOL {
                if (!IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&box));
        if (!box) return;

        SeenDialog dialog;
        dialog.owner = GetWindow(box, GW_OWNER);
        dialog.ownerEnabled = dialog.owner && IsWindowEnabled(dialog.owner);
        dialog.caption = TextOf(box);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            const std::wstring kind = ClassOf(child);
            if (kind == L"Button") {
                dialog.buttons.push_back(GetDlgCtrlID(child));
            } else if (kind == L"Static") {
                const LONG style = GetWindowLongW(child, GWL_STYLE);
                if ((style & SS_TYPEMASK) == SS_ICON) {
                    dialog.icon = dialog.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
                } else {
                    dialog.text += TextOf(child);
                }
            }
        }
        seen = dialog;
        const HWND button = GetDlgItem(box, press_);
        if (button) {
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(press_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        } else {
            EndDialog(box, 0);
        }
    }

    static inline DialogProbe* current_ = nullptr;
    int press_;
    UINT_PTR timer_ = 0;
};

}  // namespace glimra::win32::testing
