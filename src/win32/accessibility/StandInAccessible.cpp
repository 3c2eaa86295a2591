#include "win32/accessibility/StandInAccessible.h"

#include "win32/accessibility/AccessibleHost.h"
#include "win32/accessibility/AccessibleNames.h"
#include "win32/accessibility/DelegatingAccessible.h"
#include "win32/accessibility/WindowlessAccessible.h"

namespace glimra::win32 {
namespace {

// The stand-in's own object, answering about itself as the link; anything else is the
// platform's to answer.
class StandInAccessible final : public DelegatingAccessible {
  public:
    StandInAccessible(const AccessibleHost& window, HWND hwnd, const Control& link)
        : DelegatingAccessible(hwnd), window_(window), link_(link) {}

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accName(child, name);
        return Guarded([&] { return Text(AccessibleNameOf(link_), name); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accDescription(child, description);
        return Guarded([&] { return Text(AccessibleDescriptionOf(link_), description); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accRole(child, role);
        return Guarded([&] { return Number(AccessibleRoleOf(link_), role); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accState(child, state);
        return Guarded([&] { return Number(AccessibleStateOf(link_, Host(), Dpi()), state); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accDefaultAction(child, action);
        return Guarded([&] { return Text(L"Jump", action); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) return DelegatingAccessible::accDoDefaultAction(child);
        return Guarded([&] { return PostDefaultAction(link_, Host()) ? S_OK : E_FAIL; });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!IsSelf(child))
            return DelegatingAccessible::accLocation(left, top, width, height, child);
        return Guarded([&] {
            if (!left || !top || !width || !height) return E_POINTER;
            const RECT place = ScreenRectOf(link_, Host(), Dpi());
            *left = place.left;
            *top = place.top;
            *width = place.right - place.left;
            *height = place.bottom - place.top;
            return S_OK;
        });
    }

  private:
    HWND Host() const { return GetParent(Window()); }
    int Dpi() const { return window_.CurrentDpi(); }
    static HRESULT Number(LONG value, VARIANT* out) {
        if (!out) return E_POINTER;
        out->vt = VT_I4;
        out->lVal = value;
        return S_OK;
    }

    const AccessibleHost& window_;
    const Control& link_;
};

}  // namespace

LRESULT AnswerStandInGetObject(const AccessibleHost& window, HWND standIn, const Control& link,
                               WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    try {
        return (new StandInAccessible(window, standIn, link))->AnswerGetObject(wParam);
    } catch (...) {
        return 0;  // the platform's own object answers
    }
}

}  // namespace glimra::win32
