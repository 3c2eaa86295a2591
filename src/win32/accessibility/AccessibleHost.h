#pragma once

#include "win32/base/Windows.h"

namespace glimra {
class Control;
}

namespace glimra::win32 {

// What the accessible objects of a form's windows need of the form window: the window of a
// windowed control, the window that takes the focus for a link, and the resolution its
// places are measured at.
class AccessibleHost {
  public:
    virtual HWND WindowOf(const Control& control) const = 0;
    virtual HWND StandInOf(const Control& link) const = 0;
    virtual int CurrentDpi() const = 0;

  protected:
    ~AccessibleHost() = default;
};

}  // namespace glimra::win32
