#include "win32/accessibility/WindowlessAccessible.h"

#include <oleacc.h>

#include <algorithm>

#include "controls/Label.h"
#include "win32/base/Containers.h"
#include "win32/base/Dpi.h"
#include "win32/base/WindowBinding.h"

namespace glimra::win32 {
namespace {

// The part of `hwnd`'s client area that its ancestors leave in view, on the screen.
RECT AreaInView(HWND hwnd) {
    RECT area{};
    GetClientRect(hwnd, &area);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
    for (HWND outer = GetAncestor(hwnd, GA_PARENT); outer && outer != GetDesktopWindow();
         outer = GetAncestor(outer, GA_PARENT)) {
        RECT client{};
        GetClientRect(outer, &client);
        MapWindowPoints(outer, nullptr, reinterpret_cast<POINT*>(&client), 2);
        IntersectRect(&area, &area, &client);
    }
    return area;
}

}  // namespace

const Control* LinkOfIcon(const Control& control) {
    if (control.Kind() != ControlKind::Image) return nullptr;
    for (const Control* other : control.Parent().Children()) {
        const auto* label = dynamic_cast<const Label*>(other);
        if (label && label->LinkIcon() == &control) return label;
    }
    return nullptr;
}

std::vector<Control*> AccessibleChildrenOf(const Container& container) {
    std::vector<Control*> children = InTabOrder(container);
    std::erase_if(children, [](const Control* c) {
        return c->Kind() == ControlKind::Line || LinkOfIcon(*c);
    });
    return children;
}

std::vector<Control*> InReadingOrder(const Container& container) {
    std::vector<Control*> left = AccessibleChildrenOf(container);
    std::stable_sort(left.begin(), left.end(),
                     [](const Control* a, const Control* b) { return a->Top() < b->Top(); });
    std::vector<Control*> order;
    while (!left.empty()) {
        const Control& first = *left.front();
        const float middle = first.Top() + first.Height() / 2;
        const auto lineEnd = std::stable_partition(left.begin(), left.end(), [&](const Control* c) {
            return c == &first || c->Top() < middle;
        });
        std::vector<Control*> line(left.begin(), lineEnd);
        std::stable_sort(line.begin(), line.end(),
                         [](const Control* a, const Control* b) { return a->Left() < b->Left(); });
        order.insert(order.end(), line.begin(), line.end());
        left.erase(left.begin(), lineEnd);
    }
    return order;
}

LONG AccessibleChildIdOf(const Control& control) {
    const std::vector<Control*> children = AccessibleChildrenOf(control.Parent());
    const auto found = std::find(children.begin(), children.end(), &control);
    return found == children.end() ? 0 : static_cast<LONG>(found - children.begin() + 1);
}

Control* AccessibleChildAt(const Container& container, LONG id) {
    const std::vector<Control*> children = AccessibleChildrenOf(container);
    if (id < 1 || id > std::ssize(children)) return nullptr;
    return children[static_cast<size_t>(id - 1)];
}

bool IsAccessibleWindowless(const Control& control) {
    return control.Windowless() && control.Visible() && control.Kind() != ControlKind::Line;
}

bool IsLink(const Control& control) {
    return control.Windowless() && control.MouseIcon() == PointerPicture::PointingHand &&
           control.Click;
}

bool TakesFocus(const Control& control) {
    const auto* label = dynamic_cast<const Label*>(&control);
    return label && label->TabStop();
}

UINT DefaultActionMessage() {
    static const UINT message = RegisterWindowMessageW(L"GlimraAccessibleDefaultAction");
    return message;
}

bool PostDefaultAction(const Control& link, HWND host) {
    const UINT message = DefaultActionMessage();
    return message &&
           PostMessageW(host, message, static_cast<WPARAM>(AccessibleChildIdOf(link)), 0);
}

LONG AccessibleRoleOf(const Control& control) {
    if (IsLink(control)) return ROLE_SYSTEM_LINK;
    switch (control.Kind()) {
        case ControlKind::Image:
            return ROLE_SYSTEM_GRAPHIC;
        case ControlKind::TextBox:
            return ROLE_SYSTEM_TEXT;
        case ControlKind::CheckBox:
            return ROLE_SYSTEM_CHECKBUTTON;
        case ControlKind::CommandButton:
            return ROLE_SYSTEM_PUSHBUTTON;
        case ControlKind::Frame:
            return ROLE_SYSTEM_GROUPING;
        case ControlKind::PictureBox:
            return ROLE_SYSTEM_CLIENT;
        case ControlKind::TabStrip:
            return ROLE_SYSTEM_PAGETABLIST;
        case ControlKind::DriveList:
            return ROLE_SYSTEM_COMBOBOX;
        case ControlKind::DirList:
        case ControlKind::FileList:
            return ROLE_SYSTEM_LIST;
        default:
            return ROLE_SYSTEM_STATICTEXT;
    }
}

RECT ScreenRectOf(const Control& control, HWND host, int dpi) {
    const Dpi at{dpi};
    const int left = at.Px(control.Left()), top = at.Px(control.Top());
    RECT place{left, top, left + at.Px(control.Width()), top + at.Px(control.Height())};
    MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

LONG AccessibleStateOf(const Control& control, HWND host, int dpi) {
    LONG state = !control.Windowless() ? 0
                 : IsLink(control)     ? STATE_SYSTEM_LINKED
                                       : STATE_SYSTEM_READONLY;
    if (TakesFocus(control)) {
        state |= STATE_SYSTEM_FOCUSABLE;
        const WindowBinding* focus = BindingOf(GetFocus());
        if (focus && focus->control == &control) state |= STATE_SYSTEM_FOCUSED;
    }
    if (!control.EffectiveEnabled()) state |= STATE_SYSTEM_UNAVAILABLE;
    if (!control.Visible() || !IsWindowVisible(host)) state |= STATE_SYSTEM_INVISIBLE;
    // A label as large as its text has no size of its own: it is in view where it starts.
    const RECT place = ScreenRectOf(control, host, dpi), area = AreaInView(host);
    RECT shown;
    const bool inView = IsRectEmpty(&place) ? PtInRect(&area, {place.left, place.top})
                                            : IntersectRect(&shown, &place, &area);
    if (!inView) state |= STATE_SYSTEM_OFFSCREEN;
    return state;
}

}  // namespace glimra::win32
