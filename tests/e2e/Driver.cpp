// A helper that the end-to-end tests run under Wine beside Glimra.scr: it finds the program's
// windows by caption, reports them and sends them standard window messages.
//
//   e2e_driver window <caption>   prints "visible|hidden left top right bottom clientW clientH
//                                 topmost|normal", or "absent"
//   e2e_driver close <caption>    posts WM_CLOSE, as the close box does
#include <cstdio>
#include <string>

#include "win32/Windows.h"

namespace {

int ReportWindow(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    if (!window) {
        std::printf("absent\n");
        return 0;
    }
    RECT outer, inner;
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("%s %ld %ld %ld %ld %ld %ld %s\n", IsWindowVisible(window) ? "visible" : "hidden",
                outer.left, outer.top, outer.right, outer.bottom, inner.right, inner.bottom,
                topmost ? "topmost" : "normal");
    return 0;
}

int Close(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    if (!window) return 1;
    return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring command = argv[1];
    if (command == L"window") return ReportWindow(argv[2]);
    if (command == L"close") return Close(argv[2]);
    return 2;
}
