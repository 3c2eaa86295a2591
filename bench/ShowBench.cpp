// How late a picture appears after its tick: the real slide show (its window, its loader, its
// worker) over a folder of pictures, its ticks fired by hand every few seconds. Run under
// Wine by bench/run.
//
//   bench_show ahead|tick <folder> <changes> <spacing ms>
//        ahead: the pictures are prepared on the worker thread, as the program does;
//        tick: each is read inside its tick, the way without a worker.
//        Prints the median and the largest time from a tick until its picture has been
//        painted, in milliseconds.
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "platform/Random.h"
#include "screensaver/ScreenSaverProgram.h"
#include "settings/SettingKeys.h"
#include "win32/base/Windows.h"
#include "win32/forms/FormWindow.h"
#include "win32/forms/Win32PeerFactory.h"
#include "win32/pictures/DesignPictures.h"
#include "win32/pictures/WicPictureLoader.h"
#include "win32/readahead/ThreadedPreparer.h"
#include "win32/system/RegistrySettingsStore.h"
#include "win32/system/Win32FileSystem.h"
#include "win32/system/Win32Locale.h"
#include "win32/system/Win32MessageBoxes.h"
#include "win32/system/Win32Pointer.h"
#include "win32/system/Win32Screen.h"
#include "win32/system/Win32Shell.h"

using namespace glimra;
using namespace glimra::win32;
using glimra::bench::Median;
using glimra::bench::NowMs;

namespace {

class SaverStart : public ProgramInfo {
  public:
    std::wstring ArgumentText() override { return L"/s"; }
    bool AnotherInstanceRunning() override { return false; }
    ProgramDetails Details() override { return {}; }
};

// Every message but the timers', whose ticks the bench fires itself.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
           PeekMessageW(&message, nullptr, WM_TIMER + 1, UINT_MAX, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::unique_ptr<WicPictureLoader> ScreenLoader() {
    return std::make_unique<WicPictureLoader>(GetModuleHandleW(nullptr),
                                              GetSystemMetrics(SM_CXSCREEN),
                                              GetSystemMetrics(SM_CYSCREEN), 96.0f);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return 2;
    const bool ahead = std::wstring(argv[1]) == L"ahead";
    const int changes = _wtoi(argv[3]), spacingMs = _wtoi(argv[4]);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int result = 1;
    {
        RegistrySettingsStore settings(L"GlimraBenchShow", keys::kSection);
        settings.Write(keys::kPath, argv[2]);
        settings.Write(keys::kInitialized, keys::kTrue);
        settings.Write(keys::kSecondsToDisplay, L"1");
        settings.Write(keys::kDisplayInRandomOrder, L"0");
        settings.Write(keys::kHideMousePointer, L"0");
        settings.Write(keys::kShowSplashScreen, L"10");
        SaverStart start;
        Win32FileSystem files;
        Win32Screen screen;
        std::unique_ptr<WicPictureLoader> pictures = ScreenLoader();
        Win32Pointer pointer;
        SeededRandom random(1);
        Win32MessageBoxes messages([] { return HWND{}; });
        Win32Shell shell([] { return HWND{}; }, L"");
        Win32Locale locale;
        DesignPictures designPictures(GetModuleHandleW(nullptr), *pictures, nullptr);
        Win32PeerFactory peers(screen, {nullptr, nullptr, designPictures, nullptr});
        ThreadedPreparer preparer([](const std::atomic<bool>& stop) {
            std::unique_ptr<WicPictureLoader> loader = ScreenLoader();
            loader->StopWhen(stop);
            return loader;
        });
        const Ports ports{start,   settings, files,    *pictures, screen,
                          pointer, random,   messages, shell,     locale};
        ScreenSaverProgram program(ports, &peers, ahead ? &preparer : nullptr);
        program.Start();
        frmLumivue& show = program.lumivue;
        auto* window = static_cast<FormWindow*>(show.Peer());
        std::vector<double> late;
        for (int i = 0; i <= changes && window && window->Handle(); ++i) {
            const double until = NowMs() + spacingMs;
            while (NowMs() < until) {
                Pump();
                Sleep(5);
            }
            const PicturePtr before = show.picHiddenScreenSaver.Picture();
            const double tick = NowMs();
            show.timTimer.Fire();
            while (show.picHiddenScreenSaver.Picture() == before && NowMs() - tick < 30000) {
                Pump();
                Sleep(1);
            }
            Pump();  // the window judges its surface once the change is done
            UpdateWindow(window->Handle());
            if (i > 0) late.push_back(NowMs() - tick);  // the first change warms up
        }
        if (!late.empty()) {
            std::printf("late_ms %.1f max_ms %.1f changes %zu\n", Median(late),
                        *std::max_element(late.begin(), late.end()), late.size());
            result = 0;
        }
        RegDeleteTreeW(HKEY_CURRENT_USER,
                       L"Software\\VB and VBA Program Settings\\GlimraBenchShow");
        show.PlatformClose();
        Pump();
    }
    CoUninitialize();
    return result;
}
