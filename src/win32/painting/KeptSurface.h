#pragma once

#include <vector>

#include "controls/Form.h"
#include "win32/base/Windows.h"
#include "win32/painting/WindowlessLayer.h"
#include "win32/pictures/Canvas.h"

namespace glimra::win32 {

// The form's drawing surface (its back colour and the pictures painted since Cls) rendered
// into a kept bitmap, once per change: a paint copies it and draws the windowless controls
// over it in an off-screen frame, then copies the frame, so no repaint rescales a picture and
// nothing flickers. It also keeps the frame that container windows compose their paints in.
class KeptSurface {
  public:
    // Paints `area` of the form's window.
    void Paint(HWND hwnd, HDC dc, const RECT& area, const Form& form, int dpi,
               WindowlessLayer& windowless);
    // Whether the kept bitmap already shows the form's surface as it is.
    bool Shows(const Form& form) const { return renderedOnce_ && rendered_ == form.Surface(); }
    // The off-screen frame of one container window's paint.
    Canvas& ContainerFrame() { return containerFrame_; }
    // The bitmaps go: with the window, or when the colours they were drawn in changed.
    void Release();

  private:
    void Render(HWND hwnd, const Form& form, int dpi);

    Canvas surface_;         // the drawing surface, rendered when it changed
    Canvas frame_;           // surface plus the windowless controls, for one paint
    Canvas containerFrame_;  // one container's paint, composed off-screen
    std::vector<DrawnPicture> rendered_;
    bool renderedOnce_ = false;
};

}  // namespace glimra::win32
