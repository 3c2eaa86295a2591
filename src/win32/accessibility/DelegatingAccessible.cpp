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

LRESULT DelegatingAccessible::AnswerGetObject(WPARAM wParam) {
    const LRESULT answer =
        standard_ ? ResultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this))
                  : 0;
    Release();
    return answer;
}

bool DelegatingAccessible::Alive() const {
    return tag_ != 0 && tag_ == BoundTagOf(hwnd_);
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
    return standard_->GetTypeInfoCount(count);
}
HRESULT DelegatingAccessible::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
    return standard_->GetTypeInfo(index, locale, info);
}
HRESULT DelegatingAccessible::GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) {
    return standard_->GetIDsOfNames(id, names, count, locale, ids);
}
HRESULT DelegatingAccessible::Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) {
    return standard_->Invoke(member, id, locale, flags, params, result, exception, argument);
}

// ---- IAccessible

HRESULT DelegatingAccessible::get_accParent(IDispatch** parent) {
    return standard_->get_accParent(parent);
}
HRESULT DelegatingAccessible::get_accChildCount(LONG* count) {
    return standard_->get_accChildCount(count);
}
HRESULT DelegatingAccessible::get_accChild(VARIANT child, IDispatch** object) {
    return standard_->get_accChild(child, object);
}
HRESULT DelegatingAccessible::get_accName(VARIANT child, BSTR* name) {
    return standard_->get_accName(child, name);
}
HRESULT DelegatingAccessible::get_accValue(VARIANT child, BSTR* value) {
    return standard_->get_accValue(child, value);
}
HRESULT DelegatingAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return standard_->get_accDescription(child, description);
}
HRESULT DelegatingAccessible::get_accRole(VARIANT child, VARIANT* role) {
    return standard_->get_accRole(child, role);
}
HRESULT DelegatingAccessible::get_accState(VARIANT child, VARIANT* state) {
    return standard_->get_accState(child, state);
}
HRESULT DelegatingAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return standard_->get_accHelp(child, help);
}
HRESULT DelegatingAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return standard_->get_accHelpTopic(file, child, topic);
}
HRESULT DelegatingAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return standard_->get_accKeyboardShortcut(child, shortcut);
}
HRESULT DelegatingAccessible::get_accFocus(VARIANT* child) {
    return standard_->get_accFocus(child);
}
HRESULT DelegatingAccessible::get_accSelection(VARIANT* children) {
    return standard_->get_accSelection(children);
}
HRESULT DelegatingAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return standard_->get_accDefaultAction(child, action);
}
HRESULT DelegatingAccessible::accSelect(long flags, VARIANT child) {
    return standard_->accSelect(flags, child);
}
HRESULT DelegatingAccessible::accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) {
    return standard_->accLocation(left, top, width, height, child);
}
HRESULT DelegatingAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return standard_->accNavigate(direction, start, end);
}
HRESULT DelegatingAccessible::accHitTest(long x, long y, VARIANT* child) {
    return standard_->accHitTest(x, y, child);
}
HRESULT DelegatingAccessible::accDoDefaultAction(VARIANT child) {
    return standard_->accDoDefaultAction(child);
}
HRESULT DelegatingAccessible::put_accName(VARIANT child, BSTR name) {
    return standard_->put_accName(child, name);
}
HRESULT DelegatingAccessible::put_accValue(VARIANT child, BSTR value) {
    return standard_->put_accValue(child, value);
}

// ---- IOleWindow

HRESULT DelegatingAccessible::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = hwnd_;
    return S_OK;
}
HRESULT DelegatingAccessible::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

}  // namespace glimra::win32
