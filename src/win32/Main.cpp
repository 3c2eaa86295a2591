// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <chrono>
#include <cwchar>

#include "platform/Random.h"
#include "screensaver/ScreenSaverProgram.h"
#include "settings/PolicyFirstStore.h"
#include "settings/SettingKeys.h"
#include "win32/decoder/DecoderProcessLoader.h"
#include "win32/decoder/DecoderService.h"
#include "win32/forms/FormWindow.h"
#include "win32/forms/MessageFilters.h"
#include "win32/forms/Win32PeerFactory.h"
#include "win32/pictures/DesignPictures.h"
#include "win32/pictures/ProgramPointer.h"
#include "win32/pictures/ShowTarget.h"
#include "win32/pictures/WicPictureLoader.h"
#include "win32/readahead/ThreadedLister.h"
#include "win32/readahead/ThreadedPreparer.h"
#include "win32/resources/resource.h"
#include "win32/system/RegistryPolicySource.h"
#include "win32/system/RegistrySettingsStore.h"
#include "win32/system/Win32FileSystem.h"
#include "win32/system/Win32Locale.h"
#include "win32/system/Win32MessageBoxes.h"
#include "win32/system/Win32Pointer.h"
#include "win32/system/Win32ProgramDetails.h"
#include "win32/system/Win32ProgramInfo.h"
#include "win32/system/Win32Screen.h"
#include "win32/system/Win32Shell.h"

using namespace glimra;
using namespace glimra::win32;

namespace {

// "/c:1234" names the system's Screen Saver Settings window, which then owns the dialog.
HWND SettingsWindowOf(const std::wstring& arguments) {
    if (arguments.size() < 4 || arguments.compare(0, 3, L"/c:") != 0) return nullptr;
    const auto handle = reinterpret_cast<HWND>(
        static_cast<INT_PTR>(std::wcstoll(arguments.c_str() + 3, nullptr, 10)));
    return handle && IsWindow(handle) ? handle : nullptr;
}

}  // namespace

// Nothing the program does lets an exception reach the system.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) try {
    // Whatever is loaded from now on comes from the system folder, never from the program's
    // own folder or the current one, where anyone may have put a DLL of a system's name.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Wine's comctl32 loads msimg32 at its first blend by a search that still starts in the
    // program's folder; loaded from the system folder now, it is found loaded then.
    LoadLibraryExW(L"msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Started by the slide show as its decoder, the process decodes and does nothing else.
    if (const auto served = ServeIfDecoder([instance] { return CodecDecoder(instance); })) {
        return *served;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    {
        const auto icon = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_GLIMRA), IMAGE_ICON, 32, 32, 0));
        ScopedCursor pointer = CursorFromIcon(icon);

        Win32ProgramInfo program;
        RegistrySettingsStore ownSettings(keys::kApplication, keys::kSection);
        RegistryPolicySource machinePolicy(HKEY_LOCAL_MACHINE), userPolicy(HKEY_CURRENT_USER);
        PolicyFirstStore settings(machinePolicy, userPolicy, ownSettings);
        Win32FileSystem files;
        Win32Screen screen;
        // Where the show's pictures are shown: the full-screen window tells, the loaders read.
        const auto showTarget = std::make_shared<ShowTarget>(
            ShowTarget::Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                             static_cast<float>(GetDpiForSystem())});
        WicPictureLoader pictures(instance, showTarget);
        Win32Pointer mousePointer;
        SeededRandom random(static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count() ^
            GetCurrentProcessId()));
        ScreenSaverProgram* running = nullptr;
        // Message boxes and the shell are owned by the dialog, whenever it has a window.
        const auto dialogWindow = [&running]() -> HWND {
            const auto* dialog =
                running ? dynamic_cast<FormWindow*>(running->options.Peer()) : nullptr;
            return dialog ? dialog->Handle() : nullptr;
        };
        Win32MessageBoxes messages(dialogWindow);
        Win32Shell shell(dialogWindow, program.Details().folder);
        Win32Locale locale;
        DesignPictures designPictures(instance, pictures, pointer.Get());
        FormWindow::Resources resources{icon, pointer.Get(), designPictures,
                                        SettingsWindowOf(program.ArgumentText())};
        resources.showTarget = showTarget.get();
        Win32PeerFactory peers(screen, resources);

        const Ports ports{program,      settings, files,    pictures, screen,
                          mousePointer, random,   messages, shell,    locale};
        // The show's pictures are decoded in a process of their own, where a codec's fault
        // costs one picture; it starts with the first picture, once the window is up.
        ThreadedPreparer preparer(
            [instance, showTarget, decoder = ModuleFile(nullptr)](const std::atomic<bool>& stop) {
                return std::make_unique<DecoderProcessLoader>(instance, showTarget, decoder,
                                                              DecoderProcessLoader::kLimits, &stop);
            });
        ThreadedLister lister([] { return std::make_unique<Win32FileSystem>(); });
        ScreenSaverProgram saver(ports, &peers, &preparer, &lister);
        running = &saver;
        saver.Start();
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (RunMessageFilters(message)) continue;
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
