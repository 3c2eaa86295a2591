#pragma once

#include <oleacc.h>
#include <wrl/client.h>

#include <optional>
#include <string>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// An accessible object that answers as the platform's own object for a window's client area
// does, except where a derived class knows better. It stands for its window only while the
// window is still bound to what it was bound to when the object was made (the control or form
// the window was made for); once that window is gone, every method answers as a disconnected
// object does, before it looks at anything the window stood for. Late-bound clients get the
// same answers through IDispatch, over the platform's type description of IAccessible.
class DelegatingAccessible : public IAccessible, public IOleWindow {
  public:
    explicit DelegatingAccessible(HWND hwnd);
    DelegatingAccessible(const DelegatingAccessible&) = delete;
    DelegatingAccessible& operator=(const DelegatingAccessible&) = delete;

    // Hands the object to the client that sent WM_GETOBJECT, or says why it cannot; the
    // caller's reference is released either way.
    LRESULT AnswerGetObject(WPARAM wParam);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: our own IAccessible, described by the platform's type library; refused when
    // that cannot be had.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override;

    // IAccessible: the platform's object answers unless a derived class overrides.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

    // IOleWindow: the window the object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;

  protected:
    // Another object for the same window, sharing the platform's object of the original.
    struct SameWindow {};
    DelegatingAccessible(const DelegatingAccessible& original, SameWindow);
    virtual ~DelegatingAccessible() = default;

    HWND Window() const { return hwnd_; }
    bool Alive() const;
    IAccessible& Standard() const { return *standard_.Get(); }
    // The child id a client names: an integer, of 32 bits or, as scripts pass small numbers,
    // of 16, or a variant passed by reference that holds one; and the object itself
    // (CHILDID_SELF) for no child (VT_EMPTY) and for an optional argument a late-bound client
    // left out, as the platform's objects take them.
    static std::optional<LONG> ChildIdOf(const VARIANT& child, bool byReference = true) {
        switch (child.vt) {
            case VT_I4:
                return child.lVal;
            case VT_I2:
                return child.iVal;
            case VT_EMPTY:
                return CHILDID_SELF;
            case VT_ERROR:
                if (child.scode != DISP_E_PARAMNOTFOUND) return std::nullopt;
                return CHILDID_SELF;
            case VT_BYREF | VT_VARIANT:
                if (!byReference || !child.pvarVal) return std::nullopt;
                return ChildIdOf(*child.pvarVal, false);
            default:
                return std::nullopt;
        }
    }
    static bool IsSelf(const VARIANT& child) { return ChildIdOf(child) == CHILDID_SELF; }
    // The child as the platform's object is asked about it: its id as a 32-bit integer.
    static VARIANT Sent(const VARIANT& child) {
        const std::optional<LONG> id = ChildIdOf(child);
        if (!id) return child;
        VARIANT sent;
        VariantInit(&sent);
        sent.vt = VT_I4;
        sent.lVal = *id;
        return sent;
    }
    // Runs an answer of the derived class's own: not for a window that is gone, and no
    // exception crosses the interface.
    template <typename Answer>
    HRESULT Guarded(Answer answer) const noexcept {
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        try {
            return answer();
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    // A text answer: S_FALSE and no string when there is none.
    static HRESULT Text(const std::wstring& text, BSTR* out);

  private:
    LONG references_ = 1;
    HWND hwnd_;
    LONG_PTR tag_;
    Microsoft::WRL::ComPtr<IAccessible> standard_;
};

}  // namespace glimra::win32
