#include "win32/forms/DisplayStatus.h"

#include <cstring>

namespace glimra::win32 {

void DisplayStatus::Watch(HWND hwnd) {
    Stop();
    registration_ = RegisterPowerSettingNotification(hwnd, &GUID_SESSION_DISPLAY_STATUS,
                                                     DEVICE_NOTIFY_WINDOW_HANDLE);
}

void DisplayStatus::Stop() {
    if (registration_) UnregisterPowerSettingNotification(registration_);
    registration_ = nullptr;
}

// The session's display: 0 off, 1 on, 2 dimmed (still seen).
std::optional<bool> DisplayStatus::Read(LPARAM setting) {
    const auto& power = *reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (power.PowerSetting != GUID_SESSION_DISPLAY_STATUS || power.DataLength < sizeof(DWORD))
        return std::nullopt;
    DWORD state = 0;
    std::memcpy(&state, power.Data, sizeof(state));
    return state != 0;
}

}  // namespace glimra::win32
