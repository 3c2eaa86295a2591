#pragma once

#include "win32/accessibility/AccessibleHost.h"
#include "win32/base/Windows.h"

namespace glimra {
class Form;
}

namespace glimra::win32 {

class ControlWindows;
class FontCache;
class KeptSurface;
class TipWindow;
class WindowlessLayer;
struct Dpi;

// The form window as the rooms it holds see it: its handle, model and resolution, and the
// rooms beside them. They reach their owner only through this, so none of them depends on how
// the form window is made. Its accessible objects see the part they need (AccessibleHost).
class FormContext : public AccessibleHost {
  public:
    virtual HWND Handle() const = 0;
    virtual Form& Model() const = 0;
    virtual const Dpi& Scale() const = 0;
    virtual FontCache& Fonts() = 0;
    virtual ControlWindows& Controls() = 0;
    virtual TipWindow& Tips() = 0;
    virtual WindowlessLayer& Windowless() = 0;
    virtual KeptSurface& Surface() = 0;

    // Whether a mouse-move message of one of the form's windows is a movement. The platform
    // also sends one, without any movement, to a window that appears under a resting pointer.
    virtual bool IsMovement(HWND hwnd, LPARAM lParam) = 0;

  protected:
    ~FormContext() = default;
};

}  // namespace glimra::win32
