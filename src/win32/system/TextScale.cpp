#include "win32/system/TextScale.h"

#include <algorithm>

#include "win32/base/Windows.h"

namespace glimra::win32 {

int SystemTextScale() {
    DWORD percent = 0, size = sizeof(percent);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor",
                     RRF_RT_REG_DWORD, nullptr, &percent, &size) != ERROR_SUCCESS)
        return 100;
    return static_cast<int>(std::clamp<DWORD>(percent, 100, 225));
}

}  // namespace glimra::win32
