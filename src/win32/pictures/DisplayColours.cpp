#include "win32/pictures/DisplayColours.h"

#include <cwchar>
#include <vector>

#include "win32/pictures/ColourConversion.h"

namespace glimra::win32 {
namespace {

// Whether the system composes this monitor's desktop in a colour space of its own (Windows 11's
// automatic colour management, or HDR): then it turns sRGB windows into the monitor's colours.
bool SystemManagesColours(const wchar_t* device) {
    // Wine's display configuration loads setupapi by a search that starts in the program's
    // folder; loaded from the system folder first, it is found loaded then.
    static const HMODULE setup =
        LoadLibraryExW(L"setupapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    (void)setup;
    UINT32 pathCount = 0, modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) !=
        ERROR_SUCCESS) {
        return false;
    }
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount,
                           modes.data(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    for (UINT32 i = 0; i < pathCount; ++i) {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        source.header = {DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, sizeof(source),
                         paths[i].sourceInfo.adapterId, paths[i].sourceInfo.id};
        if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS ||
            std::wcscmp(source.viewGdiDeviceName, device) != 0) {
            continue;
        }
        DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO colour{};
        colour.header = {DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO, sizeof(colour),
                         paths[i].targetInfo.adapterId, paths[i].targetInfo.id};
        return DisplayConfigGetDeviceInfo(&colour.header) == ERROR_SUCCESS &&
               (colour.advancedColorEnabled || colour.wideColorEnforced);
    }
    return false;
}

}  // namespace

std::wstring MonitorDeviceOf(HMONITOR monitor) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return {};
    return info.szDevice;
}

std::wstring DisplayProfileOf(const std::wstring& device) {
    if (device.empty() || SystemManagesColours(device.c_str())) return {};
    const HDC dc = CreateDCW(L"DISPLAY", device.c_str(), nullptr, nullptr);
    if (!dc) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const bool found = GetICMProfileW(dc, &length, path);
    DeleteDC(dc);
    // The system's own sRGB profile is what no profile means: nothing to look up per picture.
    if (!found || _wcsicmp(path, SrgbProfilePath().c_str()) == 0) return {};
    return path;
}

const std::wstring& DisplayProfiles::Of(const std::wstring& device) {
    if (!known_ || device != device_) {
        profile_ = lookup_(device);
        device_ = device;
        known_ = true;
    }
    return profile_;
}

}  // namespace glimra::win32
