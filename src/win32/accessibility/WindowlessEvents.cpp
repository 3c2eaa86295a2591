#include "win32/accessibility/WindowlessEvents.h"

#include <utility>

#include "controls/Form.h"
#include "win32/accessibility/AccessibleNames.h"
#include "win32/accessibility/WindowlessAccessible.h"

namespace glimra::win32 {
namespace {

// The live-setting property of UI Automation, and its "polite" value: read out once the
// reader is done with what it is saying.
constexpr GUID kLiveSetting = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;
// The annotation service, and its interface (the headers declare no __uuidof for it).
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesId = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

bool IsNotice(const Control& control) {
    return control.Kind() == ControlKind::Label &&
           control.OwnerForm().Design().border == BorderStyle::FixedDialog;
}

}  // namespace

void WindowlessEvents::Follow(const Control& control, HWND host) {
    if (!control.Windowless() || control.Kind() == ControlKind::Line || !host) return;
    const bool shown = IsAccessibleWindowless(control);
    std::wstring name = AccessibleNameOf(control);
    auto [entry, first] = seen_.try_emplace(&control);
    Seen& seen = entry->second;
    if (seen.host != host) seen.live = false;
    const LONG child = AccessibleChildIdOf(control);  // 0 for a link's icon, read with its link
    if (!first && seen.host == host && IsWindowVisible(host) && child != 0) {
        if (shown != seen.shown)
            NotifyWinEvent(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, host, OBJID_CLIENT,
                           child);
        if (shown && name != seen.name) {
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, host, OBJID_CLIENT, child);
            // An emptied notice has nothing to be read out.
            if (IsNotice(control) && !name.empty()) {
                if (!seen.live) MarkLive(host, child);
                seen.live = true;
                NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, host, OBJID_CLIENT, child);
            }
        }
    }
    seen.host = host;
    seen.shown = shown;
    seen.name = std::move(name);
}

// The platform's objects have no live regions of their own: the element is annotated as one,
// which UI Automation clients read through the platform's bridge. Without the annotation
// service the events still tell of each change.
void WindowlessEvents::MarkLive(HWND host, LONG child) {
    if (!annotationsAsked_) {
        annotationsAsked_ = true;
        CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesId,
                         reinterpret_cast<void**>(annotations_.GetAddressOf()));
    }
    if (!annotations_) return;
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    annotations_->SetHwndProp(host, static_cast<DWORD>(OBJID_CLIENT), static_cast<DWORD>(child),
                              kLiveSetting, polite);
}

}  // namespace glimra::win32
