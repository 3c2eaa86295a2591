#include "win32/accessibility/NamedControlAccessible.h"

#include <string>
#include <utility>

#include "win32/accessibility/AccessibleNames.h"
#include "win32/accessibility/DelegatingAccessible.h"

namespace glimra::win32 {
namespace {

// The standard control's object with the name and description of the control it shows.
class NamedControlAccessible final : public DelegatingAccessible {
  public:
    NamedControlAccessible(HWND hwnd, const Control& control)
        : DelegatingAccessible(hwnd), control_(control) {}

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accName(child, name);
        return Guarded([&] { return Text(AccessibleNameOf(control_), name); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accDescription(child, description);
        return Guarded([&] {
            const std::wstring tip = AccessibleDescriptionOf(control_);
            return tip.empty() ? Standard().get_accDescription(Sent(child), description)
                               : Text(tip, description);
        });
    }

  private:
    const Control& control_;
};

}  // namespace

LRESULT AnswerControlGetObject(HWND hwnd, const Control& control, WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    try {
        if (AccessibleNameOf(control).empty()) return 0;
        return (new NamedControlAccessible(hwnd, control))->AnswerGetObject(wParam);
    } catch (...) {
        return 0;  // the platform's own object answers
    }
}

}  // namespace glimra::win32
