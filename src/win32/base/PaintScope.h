#pragma once

#include "win32/base/Windows.h"

namespace glimra::win32 {

// One WM_PAINT's BeginPaint and EndPaint: the paint is ended however the drawing between
// them ends, so a failed drawing never keeps the window's device context.
class PaintScope {
  public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(hwnd_, &paint_); }

    HDC Dc() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

  private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace glimra::win32
