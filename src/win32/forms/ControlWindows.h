#pragma once

#include <map>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "win32/accessibility/WindowlessEvents.h"
#include "win32/base/WindowBinding.h"
#include "win32/base/Windows.h"
#include "win32/forms/LinkStandIns.h"

namespace glimra::win32 {

class FormContext;

// The child windows of a form's windowed controls: standard controls (edit, button, tab, combo
// and list boxes) and container windows for picture boxes and frames, made in tab order, which
// is the platform's tab order. Each window is bound to its control. What the model holds is
// pushed into the windows (Sync), and what the user does in them is reported to the model
// (Report); the echoes of a push are not user actions.
class ControlWindows {
  public:
    explicit ControlWindows(FormContext& owner) : owner_(owner), links_(owner) {}
    ControlWindows(const ControlWindows&) = delete;
    ControlWindows& operator=(const ControlWindows&) = delete;

    // Makes the windows of every control on the form; picture boxes and frames get windows of
    // `containerClass`.
    void Create(Container& form, HWND formWindow, const wchar_t* containerClass);
    // The windows went with the form's window.
    void Forget() {
        children_.clear();
        links_.Forget();
    }

    HWND WindowOf(const Control& control) const;
    // The window that takes the focus for a link the keyboard reaches, or null.
    HWND StandInOf(const Control& control) const { return links_.StandInOf(control); }
    // The window of the first control in tab order that can take the focus.
    HWND FirstInTabOrder(Container& container) const;
    // The window a control is drawn on or is a child of: its container's, or the form's.
    HWND HostWindowOf(const Control& control) const;

    void Sync(Control& control);
    void SyncAll();
    // The form appears: the lists in view get their items.
    void FillShownLists();
    // What follows the resolution besides places and fonts: list rows and tab margins.
    void FitToDpi();

    // A child window's notification (WM_COMMAND), and a tab strip's change of tab.
    void Report(HWND child, WPARAM wParam);
    void ReportTabChange(HWND tabs);

  private:
    struct Child {
        HWND hwnd = nullptr;
        WindowBinding binding;
        std::vector<std::wstring> shownItems;  // the items a list shows
    };

    void CreateIn(Container& container, HWND parent);
    void CreateChild(Control& control, HWND parent);
    void FitToDpi(const Control& control, HWND hwnd);
    void SyncContents(Control& control, Child& child);
    void SyncEnabled(const Container& container);
    void Enable(HWND hwnd, bool enabled);
    void FillList(const Control& control, Child& child);
    static LRESULT CALLBACK StandardControlProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR id, DWORD_PTR data);

    FormContext& owner_;
    const wchar_t* containerClass_ = nullptr;
    std::map<const Control*, Child> children_;
    LinkStandIns links_;
    // What assistive technology is told of the labels and images.
    WindowlessEvents accessibleEvents_;
    bool syncing_ = false;  // echoes of what the model pushes are not user actions
};

}  // namespace glimra::win32
