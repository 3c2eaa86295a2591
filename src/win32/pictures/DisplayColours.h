#pragma once

#include <functional>
#include <string>
#include <utility>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// The device name of a monitor ("\\.\DISPLAY1"), which names it in any process; empty if none.
std::wstring MonitorDeviceOf(HMONITOR monitor);

// The colours the monitor of that device name shows: the path of the colour profile Windows
// associates with it, or empty for sRGB. Empty too where the system manages the desktop's
// colours itself (automatic colour management, HDR), since it then takes every window's pixels
// as sRGB, and for an unknown device.
std::wstring DisplayProfileOf(const std::wstring& device);

// The display profiles a loader converts into, looked up once per monitor: asking the system
// takes tens of milliseconds, and most pictures never need the answer.
class DisplayProfiles {
  public:
    using Lookup = std::function<std::wstring(const std::wstring& device)>;
    explicit DisplayProfiles(Lookup lookup = DisplayProfileOf) : lookup_(std::move(lookup)) {}

    const std::wstring& Of(const std::wstring& device);

  private:
    Lookup lookup_;
    bool known_ = false;
    std::wstring device_;
    std::wstring profile_;
};

}  // namespace glimra::win32
