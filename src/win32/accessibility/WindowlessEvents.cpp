#include "win32/accessibility/WindowlessEvents.h"

#include <utility>

#include "win32/accessibility/AccessibleNames.h"
#include "win32/accessibility/WindowlessAccessible.h"

namespace glimra::win32 {

void WindowlessEvents::Follow(const Control& control, HWND host) {
    if (!control.Windowless() || control.Kind() == ControlKind::Line || !host) return;
    const bool shown = IsAccessibleWindowless(control);
    std::wstring name = AccessibleNameOf(control);
    auto [entry, first] = seen_.try_emplace(&control);
    Seen& seen = entry->second;
    if (!first && seen.host == host && IsWindowVisible(host)) {
        const LONG child = AccessibleChildIdOf(control);
        if (shown != seen.shown)
            NotifyWinEvent(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, host, OBJID_CLIENT,
                           child);
        if (shown && name != seen.name)
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, host, OBJID_CLIENT, child);
    }
    seen = {host, shown, std::move(name)};
}

}  // namespace glimra::win32
