#pragma once

#include <functional>

namespace glimra::win32 {

// The user's text size ("Make text bigger"), in percent: 100 to 225. A dialog scales its fonts
// and layout by it as it does by resolution. The program asks the system; a test says it
// itself.
using TextScaleQuery = std::function<int()>;

// The system's setting now: 100 when it is not set or not a number; a number outside 100 to
// 225 is taken as the nearer end.
int SystemTextScale();

}  // namespace glimra::win32
