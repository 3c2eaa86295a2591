#pragma once

#include <string>

#include "fakes/FakeDialogPorts.h"
#include "fakes/FakePlatform.h"
#include "platform/Ports.h"
#include "platform/Random.h"
#include "settings/SettingKeys.h"
#include "win32/forms/Win32PeerFactory.h"
#include "win32/pictures/DesignPictures.h"
#include "win32/pictures/WicPictureLoader.h"
#include "win32/system/RegistrySettingsStore.h"
#include "win32/system/Win32FileSystem.h"
#include "win32/system/Win32Locale.h"
#include "win32/system/Win32Pointer.h"
#include "win32/system/Win32Screen.h"

namespace glimra::win32::testing {

// The whole program's ports over the real platform, started as `/s`, its settings under a
// test's own application name (cleared before and after), and the peers of its windows.
struct RealPorts {
    explicit RealPorts(std::wstring application) : application_(std::move(application)) {
        Clear();
        program.arguments = L"/s";
    }
    ~RealPorts() { Clear(); }
    RealPorts(const RealPorts&) = delete;
    RealPorts& operator=(const RealPorts&) = delete;

    // Settings of a show of `folder` that has run before.
    void ShowFolder(const std::wstring& folder) {
        settings.Write(keys::kPath, folder);
        settings.Write(keys::kInitialized, L"True");
    }

    const std::wstring application_;
    fakes::FakeProgramInfo program;
    RegistrySettingsStore settings{application_, keys::kSection};
    Win32FileSystem files;
    Win32Screen screen;
    WicPictureLoader pictures{GetModuleHandleW(nullptr), 800, 600, 96};
    Win32Pointer pointer;
    SeededRandom random{7};
    fakes::FakeMessageBoxes messages;
    fakes::FakeShell shell;
    Win32Locale locale;
    const Ports ports{program, settings, files,    pictures, screen,
                      pointer, random,   messages, shell,    locale};
    DesignPictures design{GetModuleHandleW(nullptr), pictures, nullptr};
    Win32PeerFactory peers{screen, {nullptr, nullptr, design, nullptr}};

  private:
    void Clear() {
        const std::wstring key = L"Software\\VB and VBA Program Settings\\" + application_;
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    }
};

}  // namespace glimra::win32::testing
