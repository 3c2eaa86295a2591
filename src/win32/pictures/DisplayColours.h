#pragma once

#include <string>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// The colours a monitor shows: the path of the colour profile Windows associates with it, or
// empty for sRGB. Empty too where the system manages the desktop's colours itself (automatic
// colour management, HDR), since it then takes every window's pixels as sRGB.
std::wstring DisplayProfileOf(HMONITOR monitor);

}  // namespace glimra::win32
