#include "win32/monitors/MonitorCovers.h"

#include "platform/EntryGuard.h"
#include "win32/base/InputState.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GlimraMonitorCover";

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

MonitorCovers::MonitorCovers(Form& form, Screen& screen, HCURSOR pointer, MonitorList monitors)
    : form_(form), screen_(screen), pointer_(pointer), monitors_(std::move(monitors)) {}

void MonitorCovers::Update(HWND window, bool fullScreen) {
    window_ = window;
    std::vector<RECT> wanted;
    if (window && fullScreen) {
        const std::vector<Monitor> monitors = monitors_();
        // A monitor that mirrors the primary one shows the window too.
        if (const std::optional<RECT> primary = PrimaryOf(monitors)) {
            for (const Monitor& monitor : monitors) {
                if (!SameRect(monitor.bounds, *primary)) wanted.push_back(monitor.bounds);
            }
        }
    }
    while (covers_.size() > wanted.size()) {
        DestroyWindow(covers_.back());
        covers_.pop_back();
    }
    if (wanted.empty()) return;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const ATOM registered = [&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &MonitorCovers::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass);
    }();
    if (!registered) return;
    while (covers_.size() < wanted.size()) {
        // No caption and no taskbar button: the slide-show window stays the one to find.
        HWND cover = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 1, 1,
                                     nullptr, nullptr, instance, nullptr);
        if (!cover) break;
        SetWindowLongPtrW(cover, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        covers_.push_back(cover);
    }
    const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    for (size_t i = 0; i < covers_.size(); ++i) {
        const RECT& r = wanted[i];
        SetWindowPos(covers_[i], topmost ? HWND_TOPMOST : HWND_NOTOPMOST, r.left, r.top,
                     r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

LRESULT MonitorCovers::HandleInput(HWND cover, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && form_.Design().programIconPointer && pointer_) {
                SetCursor(pointer_);
                return TRUE;
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            form_.PlatformClick();
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            form_.PlatformKeyDown(static_cast<int>(wParam), ShiftState());
            break;
        case WM_MOUSEMOVE: {
            // Placed as over the window itself, in its twips.
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            MapWindowPoints(cover, window_, &at, 1);
            form_.PlatformMouseMove(ButtonState(wParam), ShiftState(),
                                    static_cast<float>(at.x) * screen_.TwipsPerPixelX(),
                                    static_cast<float>(at.y) * screen_.TwipsPerPixelY());
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(cover, message, wParam, lParam);
}

LRESULT CALLBACK MonitorCovers::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MonitorCovers*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return Contained([&] { return self->HandleInput(hwnd, message, wParam, lParam); }, LRESULT{0});
}

}  // namespace glimra::win32
