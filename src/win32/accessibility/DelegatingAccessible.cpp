#include "win32/accessibility/DelegatingAccessible.h"

#include "win32/accessibility/PlatformAccessibility.h"
#include "win32/base/WindowBinding.h"

namespace glimra::win32 {
namespace {

// What a window is bound to now: its control, or for a form's own window its form; 0 for none.
LONG_PTR BoundTagOf(HWND hwnd) {
    const WindowBinding* binding = IsWindow(hwnd) ? BindingOf(hwnd) : nullptr;
    if (!binding) return 0;
    return binding->control ? reinterpret_cast<LONG_PTR>(binding->control)
                            : reinterpret_cast<LONG_PTR>(binding->form);
}

}  // namespace

DelegatingAccessible::DelegatingAccessible(HWND hwnd) : hwnd_(hwnd), tag_(BoundTagOf(hwnd)) {
    StandardAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                             reinterpret_cast<void**>(standard_.GetAddressOf()));
}

DelegatingAccessible::DelegatingAccessible(const DelegatingAccessible& original, SameWindow)
    : hwnd_(original.hwnd_), tag_(original.tag_), standard_(original.standard_) {}

LRESULT DelegatingAccessible::AnswerGetObject(WPARAM wParam) {
    const LRESULT answer =
        standard_ ? ResultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this))
                  : 0;
    Release();
    return answer;
}

// An object whose platform object could not be made is never handed out; should one be, it
// answers as one whose window is gone.
bool DelegatingAccessible::Alive() const {
    return standard_ && tag_ != 0 && tag_ == BoundTagOf(hwnd_);
}

HRESULT DelegatingAccessible::Text(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// ---- IUnknown

HRESULT DelegatingAccessible::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (id == IID_IUnknown || id == IID_IDispatch || id == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
    } else if (id == IID_IOleWindow) {
        *object = static_cast<IOleWindow*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG DelegatingAccessible::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG DelegatingAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

// ---- IDispatch

HRESULT DelegatingAccessible::GetTypeInfoCount(UINT* count) {
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!count) return E_POINTER;
    *count = AccessibleTypeInfo() ? 1 : 0;
    return S_OK;
}
HRESULT DelegatingAccessible::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!info) return E_POINTER;
    *info = nullptr;
    ITypeInfo* type = AccessibleTypeInfo();
    if (index != 0 || !type) return DISP_E_BADINDEX;
    type->AddRef();
    *info = type;
    return S_OK;
}
HRESULT DelegatingAccessible::GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) {
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (id != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* type = AccessibleTypeInfo();
    return type ? DispGetIDsOfNames(type, names, count, ids) : E_NOTIMPL;
}
// The call runs through this object's own IAccessible, so it answers as an early-bound one.
HRESULT DelegatingAccessible::Invoke(DISPID member, REFIID id, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) {
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (id != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* type = AccessibleTypeInfo();
    if (!type) return E_NOTIMPL;
    return DispInvoke(static_cast<IAccessible*>(this), type, member, flags, params, result,
                      exception, argument);
}

// ---- IAccessible

HRESULT DelegatingAccessible::get_accParent(IDispatch** parent) {
    return Guarded([&] { return Standard().get_accParent(parent); });
}
HRESULT DelegatingAccessible::get_accChildCount(LONG* count) {
    return Guarded([&] { return Standard().get_accChildCount(count); });
}
HRESULT DelegatingAccessible::get_accChild(VARIANT child, IDispatch** object) {
    return Guarded([&] { return Standard().get_accChild(Sent(child), object); });
}
HRESULT DelegatingAccessible::get_accName(VARIANT child, BSTR* name) {
    return Guarded([&] { return Standard().get_accName(Sent(child), name); });
}
HRESULT DelegatingAccessible::get_accValue(VARIANT child, BSTR* value) {
    return Guarded([&] { return Standard().get_accValue(Sent(child), value); });
}
HRESULT DelegatingAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return Guarded([&] { return Standard().get_accDescription(Sent(child), description); });
}
HRESULT DelegatingAccessible::get_accRole(VARIANT child, VARIANT* role) {
    return Guarded([&] { return Standard().get_accRole(Sent(child), role); });
}
HRESULT DelegatingAccessible::get_accState(VARIANT child, VARIANT* state) {
    return Guarded([&] { return Standard().get_accState(Sent(child), state); });
}
HRESULT DelegatingAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return Guarded([&] { return Standard().get_accHelp(Sent(child), help); });
}
HRESULT DelegatingAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return Guarded([&] { return Standard().get_accHelpTopic(file, Sent(child), topic); });
}
HRESULT DelegatingAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Guarded([&] { return Standard().get_accKeyboardShortcut(Sent(child), shortcut); });
}
HRESULT DelegatingAccessible::get_accFocus(VARIANT* child) {
    return Guarded([&] { return Standard().get_accFocus(child); });
}
HRESULT DelegatingAccessible::get_accSelection(VARIANT* children) {
    return Guarded([&] { return Standard().get_accSelection(children); });
}
HRESULT DelegatingAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Guarded([&] { return Standard().get_accDefaultAction(Sent(child), action); });
}
HRESULT DelegatingAccessible::accSelect(long flags, VARIANT child) {
    return Guarded([&] { return Standard().accSelect(flags, Sent(child)); });
}
HRESULT DelegatingAccessible::accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) {
    return Guarded([&] { return Standard().accLocation(left, top, width, height, Sent(child)); });
}
HRESULT DelegatingAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return Guarded([&] { return Standard().accNavigate(direction, Sent(start), end); });
}
HRESULT DelegatingAccessible::accHitTest(long x, long y, VARIANT* child) {
    return Guarded([&] { return Standard().accHitTest(x, y, child); });
}
HRESULT DelegatingAccessible::accDoDefaultAction(VARIANT child) {
    return Guarded([&] { return Standard().accDoDefaultAction(Sent(child)); });
}
HRESULT DelegatingAccessible::put_accName(VARIANT child, BSTR name) {
    return Guarded([&] { return Standard().put_accName(Sent(child), name); });
}
HRESULT DelegatingAccessible::put_accValue(VARIANT child, BSTR value) {
    return Guarded([&] { return Standard().put_accValue(Sent(child), value); });
}

// ---- IOleWindow

HRESULT DelegatingAccessible::GetWindow(HWND* hwnd) {
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!hwnd) return E_POINTER;
    *hwnd = hwnd_;
    return S_OK;
}
HRESULT DelegatingAccessible::ContextSensitiveHelp(BOOL) {
    return Alive() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

}  // namespace glimra::win32
