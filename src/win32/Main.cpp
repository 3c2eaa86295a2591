#include <objbase.h>

#include <atomic>
#include <chrono>

#include "platform/Random.h"
#include "screensaver/ScreenSaverProgram.h"
#include "win32/ProgramPointer.h"
#include "win32/RegistrySettingsStore.h"
#include "win32/ThreadedPreparer.h"
#include "win32/WicPictureLoader.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32PeerFactory.h"
#include "win32/Win32Pointer.h"
#include "win32/Win32ProgramInfo.h"
#include "win32/Win32Screen.h"
#include "win32/Windows.h"
#include "win32/resources/resource.h"
#include "settings/SettingKeys.h"

using namespace glimra;
using namespace glimra::win32;

// Nothing the program does lets an exception reach the system.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) try {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    {
        const auto icon = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_GLIMRA), IMAGE_ICON, 32, 32, 0));
        ScopedCursor pointer = CursorFromIcon(icon);

        Win32ProgramInfo program;
        RegistrySettingsStore settings(keys::kApplication, keys::kSection);
        Win32FileSystem files;
        Win32Screen screen;
        WicPictureLoader pictures(instance, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN),
                                  static_cast<float>(GetDpiForSystem()));
        Win32Pointer mousePointer;
        SeededRandom random(static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count() ^
            GetCurrentProcessId()));
        Win32PeerFactory peers(screen, icon, pointer.Get());
        ThreadedPreparer preparer([&](const std::atomic<bool>& stop) {
            auto loader = std::make_unique<WicPictureLoader>(
                instance, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                static_cast<float>(GetDpiForSystem()));
            loader->StopWhen(stop);
            return loader;
        });

        const Ports ports{program, settings, files, pictures, screen, mousePointer, random};
        ScreenSaverProgram saver(ports, &peers, &preparer);
        saver.Start();
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    CoUninitialize();
    return 0;
} catch (...) {
    CoUninitialize();
    return 1;
}
