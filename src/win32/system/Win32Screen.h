#pragma once

#include "platform/Screen.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The primary screen at the system's resolution: 15 twips per pixel at 96 dots per inch.
class Win32Screen : public Screen {
  public:
    float TwipsPerPixelX() override { return 1440.0f / static_cast<float>(GetDpiForSystem()); }
    float TwipsPerPixelY() override { return TwipsPerPixelX(); }
    float Width() override { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }
    float Height() override { return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY(); }
};

}  // namespace glimra::win32
