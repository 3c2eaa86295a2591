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
//   e2e_driver resolution <width> <height>
//                                 changes the primary monitor's resolution for the session, as
//                                 the system's display settings do; every window is told
//   e2e_driver close <caption>    posts WM_CLOSE, as the close box does
//   e2e_driver get <name>         prints a stored setting in UTF-8, or "<absent>"
//   e2e_driver set <name> <text>  stores a setting
//   e2e_driver reset              removes every setting of the program
//   e2e_driver control <caption> <name>
//                                 prints "visible|hidden enabled|disabled left top right
//                                 bottom" of a control of the window (screen pixels) and its text
//   e2e_driver settext <caption> <name> <text>   sets a control's text, as typing does
//   e2e_driver item <caption> <name> <index>     prints the screen centre of a tab or list item
//   e2e_driver selected <caption> <name>         prints the selected tab or list item's index
//   e2e_driver focus <caption>    prints the name of the control that has the focus
//   e2e_driver msgbox             prints "caption|text|owner caption" of a message box, or
//                                 "absent"
//   e2e_driver answer ok|yes|no   presses that button of the message box
//   e2e_driver owner <caption>    prints the caption of the window that owns the window
//   e2e_driver host <seconds>     shows a window captioned "Screen Saver Settings" for that
//                                 long, as the system's settings window, and prints its handle
//   e2e_driver display <caption> off|on
//                                 tells the window that the display turned off or on, as the
//                                 system tells the windows that registered for it
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <commctrl.h>

#include "e2e/ProgramWindows.h"
#include "win32/forms/ControlIds.h"

namespace {

using glimra::e2e::ControlOf;
using glimra::e2e::PrintUtf8;

constexpr wchar_t kProgramKey[] = L"Software\\VB and VBA Program Settings\\Glimra";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Glimra\\Settings";

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

// Waits up to `limitMs` for a visible window of the caption, looking every 10 ms, so that one
// shown only briefly is seen too; then reports it as ReportWindow does, and since when.
int WaitVisible(const wchar_t* caption, int limitMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const HWND window = FindWindowW(nullptr, caption);
        const ULONGLONG waited = GetTickCount64() - start;
        if ((window && IsWindowVisible(window)) || waited >= static_cast<ULONGLONG>(limitMs)) {
            std::printf("after %llu ms: ", waited);
            ReportWindow(caption);
            return window && IsWindowVisible(window) ? 0 : 1;
        }
        Sleep(10);
    }
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

int ChangeResolution(int width, int height) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) ==
                   DISP_CHANGE_SUCCESSFUL
               ? 0
               : 1;
}

int Close(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    if (!window) return 1;
    return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

// The names of the dialog's controls that can take the focus or be asked about.
const wchar_t* const kNames[] = {
    L"tbsOptions",       L"cmdOK",          L"cmdCancel",       L"cmdApply",
    L"picOptions(0)",    L"picOptions(1)",  L"picOptions(2)",   L"picOptions(3)",
    L"picOptions(4)",    L"fraSample1",     L"txtPathLocation", L"cmdBrowse",
    L"DrivePath",        L"DirPath",        L"FilePath",        L"txtSecondsToDisplay",
    L"chkMousePointer",  L"chkAlwaysOnTop", L"chkRandomImages", L"chkDisplayImageNumber",
    L"chkImageFileName", L"cmdPreview",     L"lblHelpLink",     L"lblDownloadLink"};

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

int ReportControl(const wchar_t* caption, const wchar_t* name) {
    HWND control = ControlOf(caption, name);
    if (!control) {
        std::printf("absent\n");
        return 0;
    }
    RECT place;
    GetWindowRect(control, &place);
    wchar_t head[128];
    swprintf(head, 128, L"%ls %ls %ld %ld %ld %ld ",
             IsWindowVisible(control) ? L"visible" : L"hidden",
             IsWindowEnabled(control) ? L"enabled" : L"disabled", place.left, place.top,
             place.right, place.bottom);
    PrintUtf8(head + TextOf(control));
    return 0;
}

// Asks a control of another process for a rectangle that it writes into memory of its own.
RECT RemoteRect(HWND control, UINT message, WPARAM index) {
    RECT rect{};
    DWORD processId = 0;
    GetWindowThreadProcessId(control, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return rect;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        SendMessageW(control, message, index, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return rect;
}

int ReportItem(const wchar_t* caption, const wchar_t* name, int index) {
    HWND control = ControlOf(caption, name);
    if (!control) return 1;
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    const bool tabs = lstrcmpiW(kind, WC_TABCONTROLW) == 0;
    // List-box messages are below WM_USER, so the system copies their rectangle across
    // processes; the tab control's are not, so it writes into memory of its own process.
    RECT item{};
    if (tabs) {
        item = RemoteRect(control, TCM_GETITEMRECT, static_cast<WPARAM>(index));
    } else {
        SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(control, &centre);
    std::printf("%ld %ld\n", centre.x, centre.y);
    return 0;
}

int ReportSelected(const wchar_t* caption, const wchar_t* name) {
    HWND control = ControlOf(caption, name);
    if (!control) return 1;
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    const UINT message = lstrcmpiW(kind, WC_TABCONTROLW) == 0 ? TCM_GETCURSEL
                         : lstrcmpiW(kind, WC_COMBOBOXW) == 0 ? CB_GETCURSEL
                                                              : LB_GETCURSEL;
    std::printf("%ld\n", static_cast<long>(SendMessageW(control, message, 0, 0)));
    return 0;
}

// How many items a list holds in its window, then its first and last item.
int ReportItems(const wchar_t* caption, const wchar_t* name) {
    HWND control = ControlOf(caption, name);
    if (!control) return 1;
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    const bool combo = lstrcmpiW(kind, WC_COMBOBOXW) == 0;
    const auto count =
        static_cast<int>(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    std::wstring line = std::to_wstring(count);
    for (const int index : {0, count - 1}) {
        if (count <= 0) break;
        wchar_t text[1024] = {};
        SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text));
        line += L"|" + std::wstring(text);
    }
    PrintUtf8(line);
    return 0;
}

int ReportFocus(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 1;
    const int id = GetDlgCtrlID(info.hwndFocus);
    for (const wchar_t* name : kNames) {
        if (glimra::win32::ControlIdOf(name) == id) {
            PrintUtf8(name);
            return 0;
        }
    }
    PrintUtf8(L"<none>");
    return 0;
}

std::wstring MessageTextOf(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[32] = {};
        GetClassNameW(child, kind, 32);
        if (lstrcmpiW(kind, L"Static") == 0 && text.empty()) text = TextOf(child);
    }
    return text;
}

int ReportMessageBox() {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || !IsWindowVisible(box)) {
        std::printf("absent\n");
        return 0;
    }
    HWND owner = GetWindow(box, GW_OWNER);
    PrintUtf8(TextOf(box) + L"|" + MessageTextOf(box) + L"|" + (owner ? TextOf(owner) : L""));
    return 0;
}

int Answer(const std::wstring& button) {
    HWND box = FindWindowW(L"#32770", nullptr);
    const int id = button == L"yes" ? IDYES : button == L"no" ? IDNO : IDOK;
    return box && PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(box, id)))
               ? 0
               : 1;
}

int ReportOwner(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    HWND owner = window ? GetWindow(window, GW_OWNER) : nullptr;
    PrintUtf8(owner ? TextOf(owner) : L"<none>");
    return 0;
}

int Host(int seconds) {
    HWND host =
        CreateWindowExW(0, L"STATIC", L"Screen Saver Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        10, 10, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!host) return 1;
    std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(host)));
    std::fflush(stdout);
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(20);
    }
    DestroyWindow(host);
    return 0;
}

// The system's notice of the session display's state, written into the window's own process,
// where the window reads it.
int TellDisplay(const wchar_t* caption, bool on) {
    const HWND hwnd = FindWindowW(nullptr, caption);
    DWORD processId = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &processId)) return 1;
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return 1;
    alignas(POWERBROADCAST_SETTING)
        BYTE notice[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
    auto& setting = *reinterpret_cast<POWERBROADCAST_SETTING*>(notice);
    setting.PowerSetting = GUID_SESSION_DISPLAY_STATUS;
    setting.DataLength = sizeof(DWORD);
    const DWORD state = on ? 1 : 0;
    std::memcpy(setting.Data, &state, sizeof(state));
    void* remote =
        VirtualAllocEx(process, nullptr, sizeof(notice), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    LRESULT answer = 0;
    if (remote && WriteProcessMemory(process, remote, notice, sizeof(notice), nullptr)) {
        answer = SendMessageW(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                              reinterpret_cast<LPARAM>(remote));
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return answer == TRUE ? 0 : 1;
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
    if (argc == 4 && command == L"wait-visible") return WaitVisible(argv[2], _wtoi(argv[3]));
    if (argc == 3 && command == L"close") return Close(argv[2]);
    if (argc == 4 && command == L"display")
        return TellDisplay(argv[2], argv[3] == std::wstring(L"on"));
    if (argc == 2 && command == L"covers") return EnumWindows(&PrintCover, 0) ? 0 : 1;
    if (argc == 3 && command == L"cover-input") return CoverInput(argv[2]);
    if (argc == 2 && command == L"monitors") {
        return EnumDisplayMonitors(nullptr, nullptr, &PrintMonitor, 0) ? 0 : 1;
    }
    if (argc == 4 && command == L"resolution") {
        return ChangeResolution(_wtoi(argv[2]), _wtoi(argv[3]));
    }
    if (argc == 3 && command == L"get") return GetSetting(argv[2]);
    if (argc == 4 && command == L"set") return SetSetting(argv[2], argv[3]);
    if (argc == 4 && command == L"control") return ReportControl(argv[2], argv[3]);
    if (argc == 5 && command == L"settext") {
        HWND control = ControlOf(argv[2], argv[3]);
        return control && SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]))
                   ? 0
                   : 1;
    }
    if (argc == 5 && command == L"item") return ReportItem(argv[2], argv[3], _wtoi(argv[4]));
    if (argc == 4 && command == L"selected") return ReportSelected(argv[2], argv[3]);
    if (argc == 4 && command == L"items") return ReportItems(argv[2], argv[3]);
    if (argc == 3 && command == L"focus") return ReportFocus(argv[2]);
    if (argc == 2 && command == L"msgbox") return ReportMessageBox();
    if (argc == 3 && command == L"answer") return Answer(argv[2]);
    if (argc == 3 && command == L"owner") return ReportOwner(argv[2]);
    if (argc == 3 && command == L"host") return Host(_wtoi(argv[2]));
    return 2;
}
