// The yardsticks for the slide show: a full-screen black window that ends at once on the
// first key it receives. With "timers" it also runs the slide show's two timers (1000 ms and
// 200 ms) doing nothing, as the yardstick of its idle cost; without, it is the yardstick of
// its response to a key.
#include <string>

#include "win32/base/Windows.h"

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_TIMER) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    const bool timers = std::wstring(arguments) == L"timers";
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"GlimraBenchYardstick";
    if (!RegisterClassExW(&windowClass)) return 1;
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName,
                        timers ? L"Glimra Bench Idle" : L"Glimra Bench QuitOnKey", WS_POPUP, 0, 0,
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                        nullptr, instance, nullptr);
    if (!window) return 1;
    if (timers) {
        SetTimer(window, 1, 1000, nullptr);
        SetTimer(window, 2, 200, nullptr);
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
