#pragma once

#include <functional>

#include "win32/base/Windows.h"

namespace glimra::win32::testing {

// Handles this thread's messages until `done`, for at most `ms` milliseconds; whether it is.
inline bool PumpUntil(const std::function<bool()>& done, ULONGLONG ms = 10000) {
    const ULONGLONG end = GetTickCount64() + ms;
    MSG message;
    for (;;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (done() || GetTickCount64() >= end) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace glimra::win32::testing
