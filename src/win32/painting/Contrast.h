#pragma once

#include "win32/base/Windows.h"

namespace glimra::win32 {

// The contrast of two colours as the accessibility guidelines measure it: the ratio of their
// relative luminances, each lightened by 0.05, from 1 (the same) to 21 (black on white).
double ContrastOf(COLORREF a, COLORREF b);

// What a text, a link or a border needs to be read against its ground.
constexpr double kReadableContrast = 3.0;

}  // namespace glimra::win32
