// A screen reader's view of the program for the end-to-end tests: run under Wine beside
// Glimra.scr, in a process of its own, it reads the dialog through the platform's
// accessibility interfaces as assistive technology does.
//
//   e2e_reader read <caption> <name>   prints "role|name" of the control's object, then of each
//                                      of its children in view, one a line (roles as numbers); a
//                                      child that is a window is read through that window's
//                                      object; invisible children are passed over, as a reader
//                                      passes them
//   e2e_reader act <caption> <name> <child>
//                                      does the default action of the control's child that is
//                                      named so
//   e2e_reader walk <caption> <name>   prints the control's object and everything in view below
//                                      it, depth first in the order a reader reads it, two
//                                      blanks of indent a level
//   e2e_reader events <caption> <milliseconds>
//                                      for that long, prints each focus and state change the
//                                      window's process raises: "focus|state" "|role|name|",
//                                      "focused" or "-", and "in tree" when the object is one of
//                                      its parent window's children as a walk finds them, or
//                                      "not in tree"
// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <oleacc.h>
#include <wrl/client.h>

#include <deque>
#include <string>
#include <vector>

#include "e2e/ProgramWindows.h"

namespace {

using glimra::e2e::ControlOf;
using glimra::e2e::PrintUtf8;
using Microsoft::WRL::ComPtr;

// The import library's IID_IAccessible is a thunk, not the interface id.
constexpr IID kAccessibleId = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

ComPtr<IAccessible> ObjectOf(HWND hwnd) {
    ComPtr<IAccessible> object;
    if (hwnd)
        AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kAccessibleId,
                                   reinterpret_cast<void**>(object.GetAddressOf()));
    return object;
}

VARIANT Child(LONG id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring NameOf(IAccessible& object, LONG id) {
    BSTR name = nullptr;
    object.get_accName(Child(id), &name);
    std::wstring text = name ? name : L"";
    SysFreeString(name);
    return text;
}

std::wstring Reading(IAccessible& object, LONG id) {
    VARIANT role;
    VariantInit(&role);
    object.get_accRole(Child(id), &role);
    return std::to_wstring(role.vt == VT_I4 ? role.lVal : 0) + L"|" + NameOf(object, id);
}

bool IsInvisible(IAccessible& object, LONG id) {
    VARIANT state;
    VariantInit(&state);
    object.get_accState(Child(id), &state);
    return state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_INVISIBLE);
}

// The object's children in view: (the object to ask, the child id to ask it for).
std::vector<std::pair<ComPtr<IAccessible>, LONG>> ChildrenOf(IAccessible& object) {
    LONG count = 0;
    object.get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG got = 0;
    if (count > 0) AccessibleChildren(&object, 0, count, children.data(), &got);
    std::vector<std::pair<ComPtr<IAccessible>, LONG>> found;
    for (LONG i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<size_t>(i)];
        if (child.vt == VT_I4 && !IsInvisible(object, child.lVal))
            found.emplace_back(&object, child.lVal);
        if (child.vt == VT_DISPATCH) {
            ComPtr<IAccessible> window;
            HWND hwnd = nullptr;
            child.pdispVal->QueryInterface(kAccessibleId,
                                           reinterpret_cast<void**>(window.GetAddressOf()));
            if (window) WindowFromAccessibleObject(window.Get(), &hwnd);
            ComPtr<IAccessible> client = ObjectOf(hwnd);
            if (client && !IsInvisible(*client.Get(), CHILDID_SELF)) found.emplace_back(client, 0);
        }
        VariantClear(&child);
    }
    return found;
}

int Read(const wchar_t* caption, const wchar_t* name) {
    ComPtr<IAccessible> object = ObjectOf(ControlOf(caption, name));
    if (!object) return 1;
    PrintUtf8(Reading(*object.Get(), CHILDID_SELF));
    for (const auto& [parent, id] : ChildrenOf(*object.Get()))
        PrintUtf8(Reading(*parent.Get(), id));
    return 0;
}

void Walk(IAccessible& object, LONG id, int depth) {
    PrintUtf8(std::wstring(static_cast<size_t>(depth) * 2, L' ') + Reading(object, id));
    if (id != CHILDID_SELF) return;
    for (const auto& [parent, child] : ChildrenOf(object))
        Walk(*parent.Get(), child, depth + 1);
}

int WalkFrom(const wchar_t* caption, const wchar_t* name) {
    ComPtr<IAccessible> object = ObjectOf(ControlOf(caption, name));
    if (!object) return 1;
    Walk(*object.Get(), CHILDID_SELF, 0);
    return 0;
}

// Whether the object an event names is found by a walk of the window it belongs to: a simple
// element among that window's children, or a window among its parent window's.
bool InTree(HWND hwnd, LONG idChild) {
    const HWND parent = idChild == CHILDID_SELF ? GetAncestor(hwnd, GA_PARENT) : hwnd;
    ComPtr<IAccessible> object = ObjectOf(parent);
    if (!object) return false;
    for (const auto& [owner, id] : ChildrenOf(*object.Get())) {
        HWND window = nullptr;
        WindowFromAccessibleObject(owner.Get(), &window);
        if (idChild == CHILDID_SELF ? (id == CHILDID_SELF && window == hwnd)
                                    : (owner.Get() == object.Get() && id == idChild))
            return true;
    }
    return false;
}

struct Event {
    DWORD event;
    HWND hwnd;
    LONG idObject;
    LONG idChild;
};

// What the hook hears is read after it returns, as screen readers do: reading calls into the
// program, and a callback that did so would be re-entered by the next event and say it first.
std::deque<Event> heard;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD,
                      DWORD) {
    if (event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_STATECHANGE)
        heard.push_back({event, hwnd, idObject, idChild});
}

void Say(const Event& heardEvent) {
    ComPtr<IAccessible> object;
    VARIANT child;
    VariantInit(&child);
    if (FAILED(AccessibleObjectFromEvent(heardEvent.hwnd, static_cast<DWORD>(heardEvent.idObject),
                                         static_cast<DWORD>(heardEvent.idChild),
                                         object.GetAddressOf(), &child)) ||
        !object || child.vt != VT_I4)
        return;
    VARIANT state;
    VariantInit(&state);
    object->get_accState(child, &state);
    const bool focused = state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_FOCUSED);
    PrintUtf8(std::wstring(heardEvent.event == EVENT_OBJECT_FOCUS ? L"focus|" : L"state|") +
              Reading(*object.Get(), child.lVal) + L"|" + (focused ? L"focused" : L"-") + L"|" +
              (InTree(heardEvent.hwnd, heardEvent.idChild) ? L"in tree" : L"not in tree"));
    std::fflush(stdout);
}

int Events(const wchar_t* caption, int milliseconds) {
    DWORD process = 0;
    const HWND window = FindWindowW(nullptr, caption);
    if (!window || !GetWindowThreadProcessId(window, &process)) return 1;
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE,
                                               nullptr, OnEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) return 1;
    PrintUtf8(L"listening");
    std::fflush(stdout);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        while (!heard.empty()) {
            const Event next = heard.front();
            heard.pop_front();
            Say(next);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    UnhookWinEvent(hook);
    return 0;
}

int Act(const wchar_t* caption, const wchar_t* name, const std::wstring& child) {
    ComPtr<IAccessible> object = ObjectOf(ControlOf(caption, name));
    if (!object) return 1;
    for (const auto& [parent, id] : ChildrenOf(*object.Get()))
        if (NameOf(*parent.Get(), id) == child)
            return SUCCEEDED(parent->accDoDefaultAction(Child(id))) ? 0 : 1;
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 2;
    if (argc == 4 && std::wstring(argv[1]) == L"read") result = Read(argv[2], argv[3]);
    if (argc == 5 && std::wstring(argv[1]) == L"act") result = Act(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::wstring(argv[1]) == L"walk") result = WalkFrom(argv[2], argv[3]);
    if (argc == 4 && std::wstring(argv[1]) == L"events") result = Events(argv[2], _wtoi(argv[3]));
    CoUninitialize();
    return result;
}
