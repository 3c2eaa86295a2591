#include "win32/accessibility/ContainerAccessible.h"

#include <algorithm>
#include <vector>

#include "controls/Form.h"
#include "win32/accessibility/AccessibleHost.h"
#include "win32/accessibility/AccessibleNames.h"
#include "win32/accessibility/DelegatingAccessible.h"
#include "win32/accessibility/PlatformAccessibility.h"
#include "win32/accessibility/WindowlessAccessible.h"
#include "win32/base/Containers.h"

namespace glimra::win32 {
namespace {

// Posted by the accessible object to its window: run the default action of child `wParam`.
UINT DefaultActionMessage() {
    static const UINT message = RegisterWindowMessageW(L"GlimraAccessibleDefaultAction");
    return message;
}

class ContainerAccessible final : public DelegatingAccessible, public IEnumVARIANT {
  public:
    ContainerAccessible(const AccessibleHost& window, HWND hwnd, const Container& container,
                        const Control* self)
        : DelegatingAccessible(hwnd), window_(window), container_(container), self_(self) {}

    // IUnknown, for both interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object || id != IID_IEnumVARIANT)
            return DelegatingAccessible::QueryInterface(id, object);
        *object = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DelegatingAccessible::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DelegatingAccessible::Release(); }

    // IAccessible: the children, and what the area itself is when it is a frame or a dialog.
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return Guarded([&] {
            if (!count) return E_POINTER;
            *count = static_cast<LONG>(Children().size());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return Guarded([&] {
            if (!object) return E_POINTER;
            *object = nullptr;
            const Control* control = ChildOf(child);
            if (!control || !Exposed(*control)) return E_INVALIDARG;
            if (control->Windowless()) return S_FALSE;  // a simple element of this object
            return ObjectFromWindow(window_.WindowOf(*control), OBJID_WINDOW, IID_IDispatch,
                                    reinterpret_cast<void**>(object));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (IsSelf(child) && !IsFrame()) return DelegatingAccessible::get_accName(child, name);
        return Guarded([&] {
            const Control* control = IsSelf(child) ? self_ : WindowlessChild(child);
            return control ? Text(AccessibleNameOf(*control), name) : E_INVALIDARG;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accDescription(child, description);
        return Guarded([&] {
            const Control* control = WindowlessChild(child);
            if (!control) return E_INVALIDARG;
            return Text(AccessibleDescriptionOf(*control), description);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (IsSelf(child) && OwnRole() == 0) return DelegatingAccessible::get_accRole(child, role);
        return Guarded([&] {
            if (!role) return E_POINTER;
            const Control* control = IsSelf(child) ? nullptr : WindowlessChild(child);
            if (!IsSelf(child) && !control) return E_INVALIDARG;
            role->vt = VT_I4;
            role->lVal = control ? AccessibleRoleOf(*control) : OwnRole();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accState(child, state);
        return Guarded([&] {
            if (!state) return E_POINTER;
            const Control* control = WindowlessChild(child);
            if (!control) return E_INVALIDARG;
            state->vt = VT_I4;
            state->lVal = AccessibleStateOf(*control, Window(), window_.CurrentDpi());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accValue(child, value);
        return Guarded([&] { return WindowlessChild(child) ? Text(L"", value) : E_INVALIDARG; });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accHelp(child, help);
        return Guarded([&] { return WindowlessChild(child) ? Text(L"", help) : E_INVALIDARG; });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accKeyboardShortcut(child, shortcut);
        return Guarded([&] { return WindowlessChild(child) ? Text(L"", shortcut) : E_INVALIDARG; });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accDefaultAction(child, action);
        return Guarded([&] {
            const Control* control = WindowlessChild(child);
            if (!control) return E_INVALIDARG;
            return Text(IsLink(*control) ? L"Jump" : L"", action);
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (IsSelf(child)) return DelegatingAccessible::accDoDefaultAction(child);
        return Guarded([&] {
            const Control* control = WindowlessChild(child);
            if (!control) return E_INVALIDARG;
            if (!IsLink(*control)) return DISP_E_MEMBERNOTFOUND;
            // The action may open a window or a message box: it runs once this call returned.
            const UINT message = DefaultActionMessage();
            return message && PostMessageW(Window(), message, static_cast<WPARAM>(child.lVal), 0)
                       ? S_OK
                       : E_FAIL;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (IsSelf(child))
            return DelegatingAccessible::accLocation(left, top, width, height, child);
        return Guarded([&] {
            if (!left || !top || !width || !height) return E_POINTER;
            const Control* control = WindowlessChild(child);
            if (!control) return E_INVALIDARG;
            const RECT place = ScreenRectOf(*control, Window(), window_.CurrentDpi());
            *left = place.left;
            *top = place.top;
            *width = place.right - place.left;
            *height = place.bottom - place.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return Guarded([&] {
            if (!child) return E_POINTER;
            const POINT point{x, y};
            const auto& children = container_.Children();
            for (auto it = children.rbegin(); it != children.rend(); ++it) {
                if (!IsAccessibleWindowless(**it)) continue;
                const RECT place = ScreenRectOf(**it, Window(), window_.CurrentDpi());
                if (!PtInRect(&place, point)) continue;
                child->vt = VT_I4;
                child->lVal = AccessibleChildIdOf(**it);
                return S_OK;
            }
            return Standard().accHitTest(x, y, child);
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        const bool fromSelf =
            IsSelf(start) && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD);
        const bool fromChild =
            !IsSelf(start) && (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS);
        if (!fromSelf && !fromChild)
            return DelegatingAccessible::accNavigate(direction, start, end);
        return Guarded([&] {
            if (!end) return E_POINTER;
            VariantInit(end);
            const std::vector<const Control*> children = Children();
            const Control* from = fromChild ? WindowlessChild(start) : nullptr;
            if (fromChild && !from) return E_INVALIDARG;
            const auto at = std::find(children.begin(), children.end(), from) - children.begin();
            const ptrdiff_t to = direction == NAVDIR_FIRSTCHILD  ? 0
                                 : direction == NAVDIR_LASTCHILD ? std::ssize(children) - 1
                                 : direction == NAVDIR_NEXT      ? at + 1
                                                                 : at - 1;
            if (to < 0 || to >= std::ssize(children)) return S_FALSE;
            return ChildVariant(*children[static_cast<size_t>(to)], end);
        });
    }

    // IEnumVARIANT: the children as they were at the last Reset (or the first Next or Skip).
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        return Guarded([&] {
            if (!items) return E_POINTER;
            TakeSnapshot();
            ULONG done = 0;
            for (; done < count && next_ < enumerated_.size(); ++done, ++next_) {
                const HRESULT answer = ChildVariant(*enumerated_[next_], &items[done]);
                if (FAILED(answer)) {
                    for (ULONG i = 0; i < done; ++i)
                        VariantClear(&items[i]);
                    return answer;
                }
            }
            if (fetched) *fetched = done;
            return done == count ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        return Guarded([&] {
            TakeSnapshot();
            const size_t left = enumerated_.size() - next_;
            next_ += std::min<size_t>(count, left);
            return count <= left ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        return Guarded([&] {
            enumerated_ = Children();
            snapshot_ = true;
            next_ = 0;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        return Guarded([&] {
            if (!copy) return E_POINTER;
            auto* clone = new ContainerAccessible(window_, Window(), container_, self_);
            clone->enumerated_ = enumerated_;
            clone->snapshot_ = snapshot_;
            clone->next_ = next_;
            *copy = clone;
            return S_OK;
        });
    }

  private:
    bool IsFrame() const { return self_ && self_->Kind() == ControlKind::Frame; }

    LONG OwnRole() const {
        if (IsFrame()) return ROLE_SYSTEM_GROUPING;
        const auto* form = self_ ? nullptr : dynamic_cast<const Form*>(&container_);
        return form && form->Design().border == BorderStyle::FixedDialog ? ROLE_SYSTEM_DIALOG : 0;
    }

    // What assistive technology is shown of a control on this container.
    bool Exposed(const Control& control) const {
        if (control.Windowless()) return IsAccessibleWindowless(control);
        return control.Visible() && window_.WindowOf(control);
    }

    // The exposed children in tab order, the order the windows were made in.
    std::vector<const Control*> Children() const {
        std::vector<const Control*> shown;
        for (const Control* control : InTabOrder(container_))
            if (Exposed(*control)) shown.push_back(control);
        return shown;
    }

    const Control* ChildOf(const VARIANT& child) const {
        const auto& children = container_.Children();
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > std::ssize(children))
            return nullptr;
        return children[static_cast<size_t>(child.lVal - 1)];
    }

    const Control* WindowlessChild(const VARIANT& child) const {
        const Control* control = ChildOf(child);
        return control && IsAccessibleWindowless(*control) ? control : nullptr;
    }

    // A child as an enumeration or navigation hands it out: the platform's object for the
    // window of a windowed control, the child id of a windowless one.
    HRESULT ChildVariant(const Control& control, VARIANT* out) const {
        VariantInit(out);
        if (control.Windowless()) {
            out->vt = VT_I4;
            out->lVal = AccessibleChildIdOf(control);
            return S_OK;
        }
        IDispatch* object = nullptr;
        const HRESULT answer = ObjectFromWindow(window_.WindowOf(control), OBJID_WINDOW,
                                                IID_IDispatch, reinterpret_cast<void**>(&object));
        if (FAILED(answer)) return answer;
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
    }

    void TakeSnapshot() {
        if (snapshot_) return;
        enumerated_ = Children();
        snapshot_ = true;
    }

    const AccessibleHost& window_;
    const Container& container_;
    const Control* self_;  // the picture box or frame; null for the form's own client area
    std::vector<const Control*> enumerated_;
    bool snapshot_ = false;
    size_t next_ = 0;
};

}  // namespace

bool AnswerContainerAccessibility(const AccessibleHost& window, HWND hwnd,
                                  const Container& container, const Control* self, UINT message,
                                  WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_GETOBJECT) {
        if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return false;
        result = (new ContainerAccessible(window, hwnd, container, self))->AnswerGetObject(wParam);
        return result != 0;
    }
    const UINT action = DefaultActionMessage();
    if (action == 0 || message != action) return false;
    const auto& children = container.Children();
    if (wParam >= 1 && wParam <= children.size()) {
        Control* control = children[wParam - 1];
        if (IsAccessibleWindowless(*control) && IsLink(*control)) control->PlatformClick();
    }
    result = 0;
    return true;
}

}  // namespace glimra::win32
