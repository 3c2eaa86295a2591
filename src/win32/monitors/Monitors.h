#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// A display monitor: its rectangle in screen pixels, and whether it is the primary one.
struct Monitor {
    RECT bounds;
    bool primary;
};

// The monitors as they are at the moment of the call. The program asks the system; a test
// hands in monitors of its own, which it adds, removes and resizes as a user would.
using MonitorList = std::function<std::vector<Monitor>()>;

// The system's monitors now.
std::vector<Monitor> CurrentMonitors();

// The primary monitor's rectangle; none when no monitor is marked primary.
std::optional<RECT> PrimaryOf(const std::vector<Monitor>& monitors);

// Makes `window` the whole primary monitor, taskbar included; with no primary monitor it
// stays where it is.
void FitToPrimary(HWND window, const std::vector<Monitor>& monitors);

}  // namespace glimra::win32
