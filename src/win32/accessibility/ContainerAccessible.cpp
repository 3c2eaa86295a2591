#include "win32/accessibility/ContainerAccessible.h"

#include <wrl/client.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "controls/Form.h"
#include "win32/accessibility/AccessibleHost.h"
#include "win32/accessibility/AccessibleNames.h"
#include "win32/accessibility/DelegatingAccessible.h"
#include "win32/accessibility/PlatformAccessibility.h"
#include "win32/accessibility/WindowlessAccessible.h"

namespace glimra::win32 {
namespace {

VARIANT Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
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
            *count = static_cast<LONG>(AccessibleChildrenOf(container_).size());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return Guarded([&] {
            if (!object) return E_POINTER;
            *object = nullptr;
            const Target target = TargetOf(child);
            if (target.kind == Kind::Element) return S_FALSE;  // a simple element of this object
            if (target.kind != Kind::Window) return E_INVALIDARG;
            return ObjectFromWindow(target.hwnd, OBJID_WINDOW, IID_IDispatch,
                                    reinterpret_cast<void**>(object));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Guarded([&] {
            const Target target = TargetOf(child);
            if (target.kind == Kind::Element) return Text(AccessibleNameOf(*target.control), name);
            if (target.kind == Kind::Self && IsFrame()) return Text(AccessibleNameOf(*self_), name);
            return AskPlatform(target, [&](IAccessible& o) { return o.get_accName(Self(), name); });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Guarded([&] {
            const Target target = TargetOf(child);
            const LONG own = target.kind == Kind::Element ? AccessibleRoleOf(*target.control)
                             : target.kind == Kind::Self  ? OwnRole()
                                                          : 0;
            if (own == 0)
                return AskPlatform(target,
                                   [&](IAccessible& o) { return o.get_accRole(Self(), role); });
            if (!role) return E_POINTER;
            role->vt = VT_I4;
            role->lVal = own;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Answer(
            child,
            [&](const Control& control) {
                if (!state) return E_POINTER;
                state->vt = VT_I4;
                state->lVal = AccessibleStateOf(control, Window(), window_.CurrentDpi());
                // A windowed control whose window is not made yet is not seen either.
                if (!control.Windowless()) state->lVal |= STATE_SYSTEM_INVISIBLE;
                return S_OK;
            },
            [&](IAccessible& o) { return o.get_accState(Self(), state); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Answer(
            child, [&](const Control& c) { return Text(AccessibleDescriptionOf(c), description); },
            [&](IAccessible& o) { return o.get_accDescription(Self(), description); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Answer(
            child, [&](const Control&) { return Text(L"", value); },
            [&](IAccessible& o) { return o.get_accValue(Self(), value); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Answer(
            child, [&](const Control&) { return Text(L"", help); },
            [&](IAccessible& o) { return o.get_accHelp(Self(), help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Answer(
            child, [&](const Control&) { return DISP_E_MEMBERNOTFOUND; },
            [&](IAccessible& o) { return o.get_accHelpTopic(file, Self(), topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return Answer(
            child, [&](const Control&) { return Text(L"", shortcut); },
            [&](IAccessible& o) { return o.get_accKeyboardShortcut(Self(), shortcut); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Answer(
            child, [&](const Control& c) { return Text(IsLink(c) ? L"Jump" : L"", action); },
            [&](IAccessible& o) { return o.get_accDefaultAction(Self(), action); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Answer(
            child,
            [&](const Control& control) {
                if (!IsLink(control)) return DISP_E_MEMBERNOTFOUND;
                return PostDefaultAction(control, Window()) ? S_OK : E_FAIL;
            },
            [&](IAccessible& o) { return o.accDoDefaultAction(Self()); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Answer(
            child, [&](const Control&) { return DISP_E_MEMBERNOTFOUND; },
            [&](IAccessible& o) { return o.accSelect(flags, Self()); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return Answer(
            child, [&](const Control&) { return DISP_E_MEMBERNOTFOUND; },
            [&](IAccessible& o) { return o.put_accName(Self(), name); });
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Answer(
            child, [&](const Control&) { return DISP_E_MEMBERNOTFOUND; },
            [&](IAccessible& o) { return o.put_accValue(Self(), value); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return Answer(
            child,
            [&](const Control& control) {
                if (!left || !top || !width || !height) return E_POINTER;
                const RECT place = ScreenRectOf(control, Window(), window_.CurrentDpi());
                *left = place.left;
                *top = place.top;
                *width = place.right - place.left;
                *height = place.bottom - place.top;
                return S_OK;
            },
            [&](IAccessible& o) { return o.accLocation(left, top, width, height, Self()); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return Guarded([&] {
            if (!child) return E_POINTER;
            VariantInit(child);
            // The windows of the controls lie over whatever is drawn on the area.
            POINT inside{x, y};
            ScreenToClient(Window(), &inside);
            const HWND under =
                ChildWindowFromPointEx(Window(), inside, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            for (const Control* control : AccessibleChildrenOf(container_)) {
                if (under && under != Window() && !control->Windowless() &&
                    window_.WindowOf(*control) == under)
                    return ChildVariant(*control, child);
            }
            // Of the labels and images, the last drawn is on top; a link's icon is its link.
            const POINT point{x, y};
            const auto& drawn = container_.Children();
            for (auto it = drawn.rbegin(); it != drawn.rend(); ++it) {
                if (!IsAccessibleWindowless(**it)) continue;
                const RECT place = ScreenRectOf(**it, Window(), window_.CurrentDpi());
                const Control* link = LinkOfIcon(**it);
                if (PtInRect(&place, point)) return ChildVariant(link ? *link : **it, child);
            }
            return Standard().accHitTest(x, y, child);
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return Guarded([&] {
            if (!end) return E_POINTER;
            VariantInit(end);
            const bool toChild = direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD;
            const bool toSibling = direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS;
            const Target from = TargetOf(start);
            if (from.kind == Kind::Self && !toChild)  // among the area's own siblings
                return Standard().accNavigate(direction, Self(), end);
            if (from.kind == Kind::Window && !toSibling)  // into the child window, or beside it
                return AskPlatform(
                    from, [&](IAccessible& o) { return o.accNavigate(direction, Self(), end); });
            if (from.kind == Kind::None) return E_INVALIDARG;
            if (from.kind == Kind::Element && !toSibling) return S_FALSE;  // nothing there
            const std::vector<Control*> children = InReadingOrder(container_);
            const auto found = std::find(children.begin(), children.end(), from.control);
            const ptrdiff_t at = found - children.begin();
            const ptrdiff_t to = direction == NAVDIR_FIRSTCHILD  ? 0
                                 : direction == NAVDIR_LASTCHILD ? std::ssize(children) - 1
                                 : direction == NAVDIR_NEXT      ? at + 1
                                                                 : at - 1;
            if (to < 0 || to >= std::ssize(children)) return S_FALSE;
            return ChildVariant(*children[static_cast<size_t>(to)], end);
        });
    }

    // IEnumVARIANT: the children in reading order.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        return Guarded([&] {
            if (!items) return E_POINTER;
            const std::vector<Control*> children = InReadingOrder(container_);
            ULONG done = 0;
            for (; done < count && next_ < children.size(); ++done, ++next_) {
                const HRESULT answer = ChildVariant(*children[next_], &items[done]);
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
            const size_t total = AccessibleChildrenOf(container_).size();
            next_ = std::min(next_, total);
            const size_t left = total - next_;
            next_ += std::min<size_t>(count, left);
            return count <= left ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        return Guarded([&] {
            next_ = 0;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        return Guarded([&] {
            if (!copy) return E_POINTER;
            // The copy shares this object's platform object, so it is never one without it.
            auto* clone = new ContainerAccessible(*this, SameWindow{});
            clone->next_ = next_;
            *copy = clone;
            return S_OK;
        });
    }

  private:
    ContainerAccessible(const ContainerAccessible& original, SameWindow same)
        : DelegatingAccessible(original, same),
          window_(original.window_),
          container_(original.container_),
          self_(original.self_) {}

    // What a child id names: the area itself, a simple element (a label or image, or a control
    // whose window is not made yet), or a window: a control's own, or a link's stand-in, so
    // that the link the focus is on is one object, found in the tree.
    enum class Kind { None, Self, Element, Window };
    struct Target {
        Kind kind = Kind::None;
        const Control* control = nullptr;
        HWND hwnd = nullptr;
    };

    Target TargetOf(const VARIANT& child) const {
        const std::optional<LONG> id = ChildIdOf(child);
        if (id == CHILDID_SELF) return {Kind::Self};
        const Control* control = id ? AccessibleChildAt(container_, *id) : nullptr;
        if (!control) return {};
        const HWND hwnd = WindowFor(*control);
        return {hwnd ? Kind::Window : Kind::Element, control, hwnd};
    }

    // A question the platform's objects answer: this area's own about itself, or the object of
    // a child's window about itself.
    template <typename Question>
    HRESULT AskPlatform(const Target& target, Question question) const {
        if (target.kind == Kind::Self) return question(Standard());
        if (target.kind != Kind::Window) return E_INVALIDARG;
        Microsoft::WRL::ComPtr<IAccessible> object;
        const HRESULT made = ObjectFromWindow(target.hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(object.GetAddressOf()));
        if (FAILED(made) || !object) return FAILED(made) ? made : E_FAIL;
        return question(*object.Get());
    }

    // Answered by this object for a simple element, by the platform's objects otherwise.
    template <typename OfElement, typename Question>
    HRESULT Answer(const VARIANT& child, OfElement ofElement, Question question) const noexcept {
        return Guarded([&] {
            const Target target = TargetOf(child);
            if (target.kind == Kind::Element) return ofElement(*target.control);
            return AskPlatform(target, question);
        });
    }

    HWND WindowFor(const Control& control) const {
        return control.Windowless() ? window_.StandInOf(control) : window_.WindowOf(control);
    }

    bool IsFrame() const { return self_ && self_->Kind() == ControlKind::Frame; }

    LONG OwnRole() const {
        if (IsFrame()) return ROLE_SYSTEM_GROUPING;
        const auto* form = self_ ? nullptr : dynamic_cast<const Form*>(&container_);
        return form && form->Design().border == BorderStyle::FixedDialog ? ROLE_SYSTEM_DIALOG : 0;
    }

    // A child as an enumeration, navigation or hit test hands it out: the platform's object
    // for a control's window, the child id of anything else.
    HRESULT ChildVariant(const Control& control, VARIANT* out) const {
        VariantInit(out);
        const HWND hwnd = WindowFor(control);
        if (!hwnd) {
            out->vt = VT_I4;
            out->lVal = AccessibleChildIdOf(control);
            return S_OK;
        }
        IDispatch* object = nullptr;
        const HRESULT answer =
            ObjectFromWindow(hwnd, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(&object));
        if (FAILED(answer)) return answer;
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
    }

    const AccessibleHost& window_;
    const Container& container_;
    const Control* self_;  // the picture box or frame; null for the form's own client area
    size_t next_ = 0;      // the enumeration's place
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
    Control* control = wParam <= static_cast<WPARAM>(LONG_MAX)
                           ? AccessibleChildAt(container, static_cast<LONG>(wParam))
                           : nullptr;
    if (control && IsAccessibleWindowless(*control) && IsLink(*control)) control->PlatformClick();
    result = 0;
    return true;
}

}  // namespace glimra::win32
