// A helper that the end-to-end tests run under Wine beside Glimra.scr: it finds the program's
// windows by caption, reports them and sends them standard window messages.
//
//   e2e_driver window <caption>   prints "visible|hidden left top right bottom clientW clientH
//                                 topmost|normal", or "absent"
//   e2e_driver covers             prints "left top right bottom topmost|normal" for each visible
//                                 monitor cover of the slide show, one a line
//   e2e_driver cover-input <events>
//                                 posts to the first monitor cover, in order, for each letter:
//                                 c a click, k a key (space), m a mouse movement
//   e2e_driver monitors           prints "left top right bottom" for each monitor, one a line
//   e2e_driver close <caption>    posts WM_CLOSE, as the close box does
//   e2e_driver get <name>         prints a stored setting in UTF-8, or "<absent>"
//   e2e_driver set <name> <text>  stores a setting
//   e2e_driver reset              removes every setting of the program
#include <cstdio>
#include <string>
#include <vector>

#include "win32/Windows.h"

namespace {

constexpr wchar_t kProgramKey[] = L"Software\\VB and VBA Program Settings\\Glimra";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Glimra\\Settings";

// Writes UTF-8, whatever the console's code page.
void PrintUtf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes,
                        nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

int GetSetting(const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
        PrintUtf8(L"<absent>");
        return 0;
    }
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1);
    RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text.data(),
                 &bytes);
    PrintUtf8(text.data());
    return 0;
}

int SetSetting(const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
                   ERROR_SUCCESS
               ? 0
               : 1;
}

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

bool IsCover(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return std::wstring(name) == L"GlimraMonitorCover" && IsWindowVisible(window);
}

BOOL CALLBACK FindCover(HWND window, LPARAM found) {
    if (!IsCover(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

int CoverInput(const std::wstring& events) {
    HWND cover = nullptr;
    EnumWindows(&FindCover, reinterpret_cast<LPARAM>(&cover));
    if (!cover) return 1;
    int x = 100;
    for (wchar_t event : events) {
        if (event == L'c') {
            PostMessageW(cover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 100));
            PostMessageW(cover, WM_LBUTTONUP, 0, MAKELPARAM(x, 100));
        } else if (event == L'k') {
            PostMessageW(cover, WM_KEYDOWN, VK_SPACE, 1);
        } else if (event == L'm') {
            PostMessageW(cover, WM_MOUSEMOVE, 0, MAKELPARAM(x += 10, 100));
        }
    }
    return 0;
}

BOOL CALLBACK PrintCover(HWND window, LPARAM) {
    if (!IsCover(window)) return TRUE;
    RECT r;
    GetWindowRect(window, &r);
    const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("%ld %ld %ld %ld %s\n", r.left, r.top, r.right, r.bottom,
                topmost ? "topmost" : "normal");
    return TRUE;
}

BOOL CALLBACK PrintMonitor(HMONITOR, HDC, LPRECT r, LPARAM) {
    std::printf("%ld %ld %ld %ld\n", r->left, r->top, r->right, r->bottom);
    return TRUE;
}

int Close(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    if (!window) return 1;
    return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring command = argv[1];
    if (command == L"reset" && argc == 2) {
        const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, kProgramKey);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
    }
    if (argc == 3 && command == L"window") return ReportWindow(argv[2]);
    if (argc == 3 && command == L"close") return Close(argv[2]);
    if (argc == 2 && command == L"covers") return EnumWindows(&PrintCover, 0) ? 0 : 1;
    if (argc == 3 && command == L"cover-input") return CoverInput(argv[2]);
    if (argc == 2 && command == L"monitors") {
        return EnumDisplayMonitors(nullptr, nullptr, &PrintMonitor, 0) ? 0 : 1;
    }
    if (argc == 3 && command == L"get") return GetSetting(argv[2]);
    if (argc == 4 && command == L"set") return SetSetting(argv[2], argv[3]);
    return 2;
}
