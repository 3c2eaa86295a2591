#include "win32/FormWindow.h"

#include <cmath>

#include "controls/Label.h"
#include "imaging/PictureFit.h"
#include "win32/Pictures.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GlimraForm";

DWORD StyleOf(BorderStyle border) {
    return border == BorderStyle::None ? WS_POPUP | WS_CLIPCHILDREN
                                       : WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD ExStyleOf(BorderStyle border) {
    return border == BorderStyle::None
               ? 0
               : WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
}

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int ButtonState(WPARAM wParam) {
    return (wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) |
           (wParam & MK_MBUTTON ? 4 : 0);
}

RECT MonitorRect(HWND hwnd) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

}  // namespace

COLORREF ColorRefOf(Color color) {
    if (color & kSystemColorFlag) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

FormWindow::FormWindow(Form& form, Screen& screen, HICON icon, HCURSOR formPointer)
    : form_(form), screen_(screen), icon_(icon), formPointer_(formPointer) {}

FormWindow::~FormWindow() {
    Destroy();
}

int FormWindow::PixelsX(float twips) const {
    return static_cast<int>(std::lround(twips / screen_.TwipsPerPixelX()));
}

int FormWindow::PixelsY(float twips) const {
    return static_cast<int>(std::lround(twips / screen_.TwipsPerPixelY()));
}

void FormWindow::Create() {
    if (hwnd_) return;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const ATOM registered = [&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &FormWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon_;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass);
    }();
    if (!registered) return;
    const FormDesign& design = form_.Design();
    RECT bounds{0, 0, PixelsX(design.width), PixelsY(design.height)};
    AdjustWindowRectEx(&bounds, StyleOf(design.border), FALSE, ExStyleOf(design.border));
    CreateWindowExW(ExStyleOf(design.border), kWindowClass, design.caption.c_str(),
                    StyleOf(design.border), 0, 0, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, nullptr, nullptr, instance, this);
    if (!hwnd_) return;
    ReportSize();
}

void FormWindow::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    surface_.Release();
    frame_.Release();
    rendered_.clear();
    renderedOnce_ = false;
}

void FormWindow::VisibleChanged() {
    if (!hwnd_) return;
    if (!form_.Visible()) {
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void FormWindow::WindowStateChanged() {
    if (!hwnd_ || form_.GetWindowState() != WindowState::Maximized) return;
    // Without a border, the maximized window is the whole monitor, taskbar included.
    const RECT monitor = MonitorRect(hwnd_);
    SetWindowPos(hwnd_, nullptr, monitor.left, monitor.top, monitor.right - monitor.left,
                 monitor.bottom - monitor.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::PositionChanged() {
    if (!hwnd_) return;
    SetWindowPos(hwnd_, nullptr, PixelsX(form_.Left()), PixelsY(form_.Top()), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SurfaceChanged() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::ControlsChanged() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::MakeTopmost() {
    if (!hwnd_) return;
    // A hidden window is raised without being activated, so it takes no focus from the
    // dialog that stands in front of it.
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | (form_.Visible() ? 0 : SWP_NOACTIVATE);
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, keep);
}

void FormWindow::ReportSize() {
    RECT outer, inner;
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &inner);
    const float tx = screen_.TwipsPerPixelX(), ty = screen_.TwipsPerPixelY();
    form_.PlatformResized(static_cast<float>(outer.right - outer.left) * tx,
                          static_cast<float>(outer.bottom - outer.top) * ty,
                          static_cast<float>(inner.right) * tx,
                          static_cast<float>(inner.bottom) * ty);
}

void FormWindow::RenderSurface() {
    RECT client;
    GetClientRect(hwnd_, &client);
    const bool sameSize = surface_.Width() == client.right && surface_.Height() == client.bottom;
    if (renderedOnce_ && sameSize && rendered_ == form_.Surface()) return;
    if (!surface_.Resize(client.right, client.bottom)) return;
    ScopedBrush back(CreateSolidBrush(ColorRefOf(form_.Design().backColor)));
    FillRect(surface_.Dc(), &client, back.Get());
    for (const DrawnPicture& drawn : form_.Surface()) {
        const PixelRect to = PixelsOf({drawn.left, drawn.top, drawn.width, drawn.height},
                                      screen_.TwipsPerPixelX(), screen_.TwipsPerPixelY());
        const RECT dest{to.left, to.top, to.right, to.bottom};
        static_cast<const Win32Picture&>(*drawn.picture).Draw(surface_, dest);
    }
    GdiFlush();
    rendered_ = form_.Surface();
    renderedOnce_ = true;
}

HFONT FormWindow::FontFor(const Font& font) {
    for (const auto& [known, handle] : fonts_) {
        if (known == font) return handle.Get();
    }
    LOGFONTW spec{};
    spec.lfHeight =
        -static_cast<LONG>(std::lround(font.points * 1440.0f / 72.0f / screen_.TwipsPerPixelY()));
    spec.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    spec.lfUnderline = font.underline;
    spec.lfCharSet = DEFAULT_CHARSET;
    spec.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(spec.lfFaceName, font.name.c_str(), LF_FACESIZE);
    fonts_.emplace_back(font, ScopedFont(CreateFontIndirectW(&spec)));
    return fonts_.back().second.Get();
}

void FormWindow::DrawLabel(HDC dc, const Label& label) {
    SelectIn font(dc, FontFor(label.Font()));
    SetTextColor(dc, ColorRefOf(label.ForeColor()));
    SetBkColor(dc, ColorRefOf(form_.Design().backColor));
    SetBkMode(dc, label.Transparent() ? TRANSPARENT : OPAQUE);
    RECT place{PixelsX(label.Left()), PixelsY(label.Top()), 0, 0};
    place.right = place.left + 1;
    place.bottom = place.top + 1;
    const UINT format =
        DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | (label.UseMnemonic() ? 0 : DT_NOPREFIX);
    DrawTextW(dc, label.Caption().c_str(), static_cast<int>(label.Caption().size()), &place,
              format);
}

void FormWindow::Paint(HDC dc, const RECT& area) {
    RenderSurface();
    if (!frame_.Resize(surface_.Width(), surface_.Height())) return;
    const int width = area.right - area.left, height = area.bottom - area.top;
    BitBlt(frame_.Dc(), area.left, area.top, width, height, surface_.Dc(), area.left, area.top,
           SRCCOPY);
    for (const WindowlessControl* control : form_.Controls()) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label && label->Visible()) DrawLabel(frame_.Dc(), *label);
    }
    BitBlt(dc, area.left, area.top, width, height, frame_.Dc(), area.left, area.top, SRCCOPY);
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // A handler's failure ends that handler only; it never crosses the window procedure.
        return 0;
    }
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const float tx = screen_.TwipsPerPixelX(), ty = screen_.TwipsPerPixelY();
    switch (message) {
        case WM_CREATE:
            SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
            SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
            return 0;
        case WM_SIZE:
            ReportSize();
            return 0;
        case WM_MOVE: {
            RECT outer;
            GetWindowRect(hwnd_, &outer);
            form_.PlatformMoved(static_cast<float>(outer.left) * tx,
                                static_cast<float>(outer.top) * ty);
            return 0;
        }
        case WM_CLOSE:
            form_.PlatformClose();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            Paint(dc, paint.rcPaint);
            EndPaint(hwnd_, &paint);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && form_.Design().programIconPointer && formPointer_) {
                SetCursor(formPointer_);
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
        case WM_MOUSEMOVE:
            form_.PlatformMouseMove(ButtonState(wParam), ShiftState(),
                                    static_cast<float>(static_cast<short>(LOWORD(lParam))) * tx,
                                    static_cast<float>(static_cast<short>(HIWORD(lParam))) * ty);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace glimra::win32
