#include "win32/forms/SchemeChange.h"

#include "win32/base/Dpi.h"
#include "win32/forms/FormContext.h"
#include "win32/forms/TipWindow.h"
#include "win32/painting/KeptSurface.h"
#include "win32/painting/SchemeColors.h"

namespace glimra::win32 {

// The system tells top-level windows of a new scheme; the controls' windows are told here,
// common controls among them, which take new colours only from WM_SYSCOLORCHANGE. Then all
// is drawn again from the new colours and fonts, the kept surface too, which is otherwise
// made again only when its pictures or size change.
void FollowSchemeChange(FormContext& window, SchemeColors& scheme, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    const HWND hwnd = window.Handle();
    const bool fonts = message == WM_SETTINGCHANGE && wParam == SPI_SETNONCLIENTMETRICS;
    if (!hwnd || (message == WM_SETTINGCHANGE && wParam != SPI_SETHIGHCONTRAST && !fonts)) return;
    const MSG told{nullptr, message, wParam, lParam, 0, {}};
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM passed) {
            const auto& m = *reinterpret_cast<const MSG*>(passed);
            SendMessageW(child, m.message, m.wParam, m.lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&told));
    scheme.Refresh();
    window.Tips().FollowScheme();                         // a window of its own, not a child
    if (fonts) window.Tips().SetDpi(window.Scale().dpi);  // the tips are in the system's font
    window.Surface().Release();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace glimra::win32
