#pragma once

#include "platform/Pointer.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

class Win32Pointer : public Pointer {
  public:
    void ShowCursor(bool show) override { ::ShowCursor(show ? TRUE : FALSE); }
};

}  // namespace glimra::win32
