#pragma once

#include "controls/Form.h"
#include "win32/base/Dpi.h"
#include "win32/base/Windows.h"
#include "win32/painting/FontCache.h"
#include "win32/painting/SchemeColors.h"
#include "win32/pictures/Canvas.h"
#include "win32/pictures/DesignPictures.h"

namespace glimra::win32 {

// Labels, images and lines have no window: the window they sit on (the form's, a picture
// box's or a frame's) draws them, finds the one under the pointer for the mouse and shows its
// pointer, the same way on every container. The layer keeps nothing of its own; it reads the
// model and the form window's resolution, fonts, pictures and colour scheme.
class WindowlessLayer {
  public:
    WindowlessLayer(Form& form, const Dpi& dpi, FontCache& fonts, DesignPictures& pictures,
                    HCURSOR formPointer, const SchemeColors& scheme)
        : form_(form),
          dpi_(dpi),
          fonts_(fonts),
          pictures_(pictures),
          formPointer_(formPointer),
          scheme_(scheme) {}

    // A control's place on its container, in pixels.
    RECT RectOf(const Control& control) const;
    // What the focus of a link the keyboard reaches goes round: its label and its icon.
    RECT FocusRectOf(const Control& link) const;

    // A container window's paint: its background (a frame's edge and caption included) and
    // the windowless controls on it, composed in `buffer`.
    void PaintContainer(HWND hwnd, HDC dc, Canvas& buffer, const Container& container,
                        const Control& self);
    // The windowless controls of a container over what `dc` (the memory DC of `canvas`) holds.
    void Paint(HDC dc, Canvas& canvas, const Container& container);

    // A mouse message over a container: to the windowless control under the pointer, else to
    // the container itself (`self`, or the form when null).
    void Mouse(const Container& container, Control* self, UINT message, WPARAM wParam,
               LPARAM lParam);
    // Sets the pointer over a container window for WM_SETCURSOR.
    void SetPointer(HWND hwnd, const Container& container, const Control* self);

  private:
    void PaintControl(HDC dc, Canvas& canvas, const Control& control);
    void PaintFocus(HDC dc, const Container& container) const;
    Control* ControlAt(const Container& container, POINT point) const;
    // What a windowless control is drawn over, and the colour it draws `design` in there.
    Color GroundOf(const Control& control) const;
    COLORREF InkOf(const Control& control, Color design) const;
    HCURSOR PointerOf(const Control& control) const;

    Form& form_;
    const Dpi& dpi_;
    FontCache& fonts_;
    DesignPictures& pictures_;
    HCURSOR formPointer_;
    const SchemeColors& scheme_;
};

}  // namespace glimra::win32
