#include "win32/monitors/Monitors.h"

namespace glimra::win32 {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(handle, &info)) {
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
            {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

}  // namespace

std::vector<Monitor> CurrentMonitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::optional<RECT> PrimaryOf(const std::vector<Monitor>& monitors) {
    for (const Monitor& monitor : monitors) {
        if (monitor.primary) return monitor.bounds;
    }
    return std::nullopt;
}

void FitToPrimary(HWND window, const std::vector<Monitor>& monitors) {
    const std::optional<RECT> primary = PrimaryOf(monitors);
    if (!primary) return;
    SetWindowPos(window, nullptr, primary->left, primary->top, primary->right - primary->left,
                 primary->bottom - primary->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace glimra::win32
