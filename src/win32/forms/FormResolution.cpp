// The form window's size and resolution: what it tells the model of its size, and its layout
// at a new resolution or text size.
#include "win32/forms/FormWindow.h"

#include "win32/pictures/DisplayColours.h"

namespace glimra::win32 {

bool FillsItsMonitor(const Form& form) {
    return form.GetWindowState() == WindowState::Maximized &&
           form.Design().border == BorderStyle::None;
}

void FormWindow::ReportSize() {
    RECT outer, inner;
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &inner);
    const float tx = screen_.TwipsPerPixelX(), ty = screen_.TwipsPerPixelY();
    form_.PlatformScaled(dpi_.Twips(1));
    if (resources_.showTarget && !IsDialog()) {
        ShowTarget::Size at{inner.right, inner.bottom, static_cast<float>(dpi_.dpi)};
        // Only the monitor's name: its profile is looked up by the loader, and only for a
        // picture that has colours of its own.
        MonitorDeviceOf(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST))
            .copy(at.monitor.data(), at.monitor.size() - 1);
        resources_.showTarget->Set(at);
    }
    form_.PlatformResized(static_cast<float>(outer.right - outer.left) * tx,
                          static_cast<float>(outer.bottom - outer.top) * ty,
                          dpi_.Twips(inner.right), dpi_.Twips(inner.bottom));
}

int FormWindow::LayoutDpi(int windowDpi) const {
    const int percent = IsDialog() && resources_.textScale ? resources_.textScale() : 100;
    return MulDiv(windowDpi, percent, 100);
}

void FormWindow::ChangeDpi(int windowDpi, const RECT* suggested) {
    const int dpi = LayoutDpi(windowDpi);
    dpi_.dpi = dpi;
    if (FillsItsMonitor(form_)) {
        // Not the rectangle the system suggests for a window that keeps its size in points.
        FitToPrimary(hwnd_, resources_.monitors());
        ReportSize();
    } else if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const FormDesign& design = form_.Design();
        RECT bounds{0, 0, dpi_.Px(design.width), dpi_.Px(design.height)};
        AdjustWindowRectExForDpi(&bounds, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                                 FALSE, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)),
                                 static_cast<UINT>(windowDpi));
        SetWindowPos(hwnd_, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    tips_.SetDpi(dpi);
    controls_.SyncAll();   // places and fonts
    controls_.FitToDpi();  // what the platform measured with the fonts: rows and tab margins
    // Every control holds its new font now: the old ones can go.
    fonts_.KeepOnly(dpi);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

}  // namespace glimra::win32
