#include "win32/forms/FormWindow.h"

#include <cmath>

#include "platform/EntryGuard.h"
#include "win32/base/InputState.h"
#include "win32/base/PaintScope.h"
#include "win32/forms/HostMessages.h"
#include "win32/forms/SchemeChange.h"

namespace glimra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GlimraForm";
constexpr UINT kSurfaceChanged = WM_APP + 1;

DWORD StyleOf(BorderStyle border) {
    return border == BorderStyle::None ? WS_POPUP | WS_CLIPCHILDREN
                                       : WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD ExStyleOf(BorderStyle border, bool owned) {
    if (border == BorderStyle::None) return 0;
    return WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (owned ? 0 : WS_EX_APPWINDOW);
}

// The slide show: a window that fills its monitor, in view.
bool IsFullScreen(const Form& form) {
    return form.Visible() && FillsItsMonitor(form);
}

}  // namespace

FormWindow::FormWindow(Form& form, Screen& screen, Resources resources)
    : form_(form),
      screen_(screen),
      resources_(resources),
      scheme_(resources.highContrast),
      windowless_(form, dpi_, fonts_, resources.pictures, resources.formPointer, scheme_),
      covers_(form, screen, resources.formPointer, resources.monitors) {}

FormWindow::~FormWindow() {
    Destroy();
}

bool FormWindow::IsDialog() const {
    return form_.Design().border == BorderStyle::FixedDialog;
}

// ---- the window's life

void FormWindow::Create() {
    if (hwnd_) return;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = [&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &FormWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = resources_.icon;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0 && ContainerWindowClass();
    }();
    if (!registered) return;
    scheme_.Refresh();
    const FormDesign& design = form_.Design();
    const HWND owner = IsDialog() ? resources_.dialogOwner : nullptr;
    const auto systemDpi = static_cast<int>(GetDpiForSystem());
    dpi_.dpi = LayoutDpi(systemDpi);
    RECT bounds{0, 0, dpi_.Px(design.width), dpi_.Px(design.height)};
    AdjustWindowRectExForDpi(&bounds, StyleOf(design.border), FALSE,
                             ExStyleOf(design.border, owner), static_cast<UINT>(systemDpi));
    CreateWindowExW(ExStyleOf(design.border, owner), kWindowClass, design.caption.c_str(),
                    StyleOf(design.border), 0, 0, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, owner, nullptr, instance, this);
    if (!hwnd_) return;
    if (IsDialog()) keys_.Start();
    // The slide show rests while the display is off: the system says when it turns off and on.
    // The session's display, not the console's: a remote session's viewer watches on while the
    // console's is off.
    if (!IsDialog()) {
        displayStatus_.Watch(hwnd_);
    }
    const int windowDpi = static_cast<int>(GetDpiForWindow(hwnd_));
    if (windowDpi > 0 && LayoutDpi(windowDpi) != dpi_.dpi) ChangeDpi(windowDpi, nullptr);
    ReportSize();
}

// The windows of the controls, their fonts and their tips are made when the form is first
// shown: every slide-show start loads the dialog hidden, and nobody sees what it would make.
void FormWindow::MakeControls() {
    if (controlsMade_ || form_.AllControls().empty()) return;
    controlsMade_ = true;
    tips_.Create(hwnd_, dpi_.dpi);
    controls_.Create(form_, hwnd_, ContainerWindowClass());
}

void FormWindow::Destroy() {
    controlsMade_ = false;
    covers_.Update(nullptr, false);
    keys_.Stop();
    displayStatus_.Stop();
    if (hwnd_) DestroyWindow(hwnd_);  // its controls and its tip window go with it
    hwnd_ = nullptr;
    lastFocus_ = nullptr;
    tips_.Forget();
    controls_.Forget();
    surface_.Release();
    surfaceChangePosted_ = false;
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        Bind(hwnd, self->binding_);
    }
    const WindowBinding* binding = BindingOf(hwnd);
    if (!binding) return DefWindowProcW(hwnd, message, wParam, lParam);
    // Only a form window binds a window of this class.
    auto& self = static_cast<FormWindow&>(*binding->form);
    if (message == WM_NCDESTROY) {
        Unbind(hwnd);
        self.hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Contained([&] { return self.HandleMessage(message, wParam, lParam); }, LRESULT{0});
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (RouteHostMessage(*this, hwnd_, form_, nullptr, message, wParam, lParam, result))
        return result;
    switch (message) {
        case WM_CREATE:
            SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(resources_.icon));
            SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(resources_.icon));
            return 0;
        case WM_SIZE:
            ReportSize();
            return 0;
        case WM_MOVE: {
            RECT outer;
            GetWindowRect(hwnd_, &outer);
            form_.PlatformMoved(static_cast<float>(outer.left) * screen_.TwipsPerPixelX(),
                                static_cast<float>(outer.top) * screen_.TwipsPerPixelY());
            return 0;
        }
        case WM_DPICHANGED:
            ChangeDpi(HIWORD(wParam), reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            if (!IsDialog()) break;
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else {
                FocusFirst();
            }
            return 0;
        case WM_CLOSE:
            form_.PlatformClose();
            return 0;
        case WM_SYSCOMMAND:
            // The idle timeout comes again during a long show: the platform would start the
            // screen saver a second time.
            if ((wParam & 0xFFF0) == SC_SCREENSAVE && IsFullScreen(form_)) return 0;
            break;
        case WM_POWERBROADCAST:
            if (wParam != PBT_POWERSETTINGCHANGE || !lParam) return TRUE;
            if (const auto on = DisplayStatus::Read(lParam)) form_.PlatformDisplayChanged(*on);
            return TRUE;
        case WM_ERASEBKGND:
            return 1;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            FollowSchemeChange(*this, scheme_, message, wParam, lParam);
            break;
        case WM_DISPLAYCHANGE:  // monitors added, removed or resized
            WindowStateChanged();
            return 0;
        case kSurfaceChanged:
            surfaceChangePosted_ = false;
            if (!surface_.Shows(form_)) InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        case WM_PAINT: {
            const PaintScope paint(hwnd_);  // ended even when drawing fails
            Paint(paint.Dc(), paint.Area());
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // The dialog's keys reach Form_KeyDown through its key preview.
            if (!form_.Design().keyPreview)
                form_.PlatformKeyDown(static_cast<int>(wParam), ShiftState());
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FormWindow::IsMovement(HWND hwnd, LPARAM lParam) {
    if (!IsDialog()) return true;  // the slide show counts its mouse messages its own way
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(hwnd, &at);
    const auto restsAt = [&at](const std::optional<POINT>& place) {
        return place && place->x == at.x && place->y == at.y;
    };
    const bool resting = restsAt(shownAt_) || restsAt(lastMoveAt_);
    lastMoveAt_ = at;
    return !resting;
}

void FormWindow::FocusFirst() {
    HWND first = lastFocus_ && IsChild(hwnd_, lastFocus_) ? lastFocus_ : nullptr;
    if (!first) first = controls_.FirstInTabOrder(form_);
    if (first) SetFocus(first);
}

// ---- what the model asks of the window

void FormWindow::VisibleChanged() {
    if (!hwnd_) return;
    if (!form_.Visible()) {
        ShowWindow(hwnd_, SW_HIDE);
        UpdateCovers();
        return;
    }
    MakeControls();
    controls_.FillShownLists();
    POINT pointer;
    shownAt_.reset();
    if (GetCursorPos(&pointer)) shownAt_ = pointer;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (IsDialog()) FocusFirst();
    UpdateCovers();
}

void FormWindow::WindowStateChanged() {
    if (!hwnd_) return;
    // Without a border, the maximized window is the whole primary monitor, taskbar included.
    if (form_.GetWindowState() == WindowState::Maximized)
        FitToPrimary(hwnd_, resources_.monitors());
    UpdateCovers();
}

// A full-screen window (borderless, maximized, visible) has the other monitors covered.
void FormWindow::UpdateCovers() {
    covers_.Update(hwnd_, IsFullScreen(form_));
}

void FormWindow::PositionChanged() {
    if (!hwnd_) return;
    const float tx = screen_.TwipsPerPixelX(), ty = screen_.TwipsPerPixelY();
    SetWindowPos(hwnd_, nullptr, static_cast<int>(std::lround(form_.Left() / tx)),
                 static_cast<int>(std::lround(form_.Top() / ty)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Cls and PaintPicture come in pairs, and a change of picture often paints the surface again
// as it was: the surface is judged once the handler that changed it has returned, and one the
// window already shows costs no paint.
void FormWindow::SurfaceChanged() {
    if (!hwnd_ || surfaceChangePosted_) return;
    surfaceChangePosted_ = PostMessageW(hwnd_, kSurfaceChanged, 0, 0) != FALSE;
    if (!surfaceChangePosted_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::ControlChanged(Control& control) {
    if (hwnd_) controls_.Sync(control);
}

void FormWindow::MakeTopmost() {
    if (!hwnd_) return;
    // A hidden window is raised without being activated, so it takes no focus from the
    // dialog that stands in front of it.
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | (form_.Visible() ? 0 : SWP_NOACTIVATE);
    // Asked at every tick: a window already above all others is left where it is.
    const bool onTop =
        (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) && !GetWindow(hwnd_, GW_HWNDPREV);
    if (!onTop) SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, keep);
    UpdateCovers();
}

void FormWindow::Paint(HDC dc, const RECT& area) {
    surface_.Paint(hwnd_, dc, area, form_, dpi_.dpi, windowless_);
}

}  // namespace glimra::win32
