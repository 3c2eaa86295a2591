#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fakes/FakeDialogPorts.h"
#include "platform/Random.h"
#include "screensaver/ScreenSaverProgram.h"
#include "settings/SettingKeys.h"
#include "win32/BuiltProgram.h"
#include "win32/TempFolder.h"
#include "win32/forms/FormWindow.h"
#include "win32/forms/MessageFilters.h"
#include "win32/forms/Win32PeerFactory.h"
#include "win32/pictures/DesignPictures.h"
#include "win32/pictures/ProgramPointer.h"
#include "win32/pictures/WicPictureLoader.h"
#include "win32/resources/resource.h"
#include "win32/system/RegistrySettingsStore.h"
#include "win32/system/Win32FileSystem.h"
#include "win32/system/Win32Locale.h"
#include "win32/system/Win32Pointer.h"
#include "win32/system/Win32Screen.h"

namespace glimra::win32::testing {

constexpr wchar_t kApplication[] = L"Glimra.DialogTest";

class SettingsStart : public ProgramInfo {
  public:
    std::wstring ArgumentText() override { return L"/c"; }
    bool AnotherInstanceRunning() override { return false; }
    ProgramDetails Details() override { return fakes::InstalledProgramDetails(); }
};

// The real options dialog in this process, over the real file system and a registry key of
// its own; message boxes are answered by a fake so nothing waits for a user.
class DialogWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeW(
            HKEY_CURRENT_USER,
            (std::wstring(L"Software\\VB and VBA Program Settings\\") + kApplication).c_str());
        CreateDirectoryW((folder.Path() + L"alpha").c_str(), nullptr);
        folder.AddFile(L"one.jpg");
        folder.AddFile(L"two.txt");
        if (!freshStore) settings.Write(keys::kPath, folder.Path());
        program = std::make_unique<ScreenSaverProgram>(ports, &peers);
        program->Start();
        Pump();
        ASSERT_TRUE(Dialog().Visible());
    }
    void TearDown() override {
        if (program->app.LoadedForms() > 0) program->options.cmdCancel_Click();
        Pump();
        RegDeleteTreeW(
            HKEY_CURRENT_USER,
            (std::wstring(L"Software\\VB and VBA Program Settings\\") + kApplication).c_str());
    }

    frmGlimraOptions& Dialog() { return program->options; }
    FormWindow& Window() { return *static_cast<FormWindow*>(Dialog().Peer()); }
    HWND Of(const Control& control) { return Window().WindowOf(control); }
    std::wstring ClassOf(const Control& control) {
        wchar_t name[64] = {};
        GetClassNameW(Of(control), name, 64);
        return name;
    }
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageW(&message, nullptr, WM_TIMER + 1, UINT_MAX, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            if (RunMessageFilters(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // Moves the pointer to (`x`, `y`) twips on the window of `container` as the user would:
    // the window hears of the movement, then sets its pointer, which is returned.
    HCURSOR PointerAfterMovingTo(const Control& container, float x, float y) {
        const HWND hwnd = Of(container);
        const int dpi = Window().CurrentDpi();
        POINT point{MulDiv(static_cast<int>(x), dpi, 1440), MulDiv(static_cast<int>(y), dpi, 1440)};
        const LPARAM client = MAKELPARAM(point.x, point.y);
        ClientToScreen(hwnd, &point);
        SetCursorPos(point.x, point.y);
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, client);
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
    // A key as the message loop gets it, sent to the window with the focus.
    void Key(UINT message, WPARAM key) {
        MSG queued{GetFocus() ? GetFocus() : Window().Handle(), message, key, 0, 0, {}};
        if (!RunMessageFilters(queued)) {
            TranslateMessage(&queued);
            DispatchMessageW(&queued);
        }
        Pump();
    }

    bool freshStore = false;    // nothing stored: the first run
    bool highContrast = false;  // what the windows are told of the user's scheme
    TempFolder folder{L"glimra-dialog"};
    RegistrySettingsStore settings{kApplication, keys::kSection};
    SettingsStart start;
    Win32FileSystem files;
    Win32Screen screen;
    WicPictureLoader pictures{GetModuleHandleW(nullptr), 800, 600, 96};
    Win32Pointer pointer;
    SeededRandom random{7};
    fakes::FakeMessageBoxes messages;
    // The pointers come from the built program, as in the real one.
    BuiltProgram built;
    ScopedIcon programIcon{static_cast<HICON>(
        LoadImageW(built.Resources(), MAKEINTRESOURCEW(IDI_GLIMRA), IMAGE_ICON, 32, 32, 0))};
    ScopedCursor programPointer = CursorFromIcon(programIcon.Get());
    DesignPictures designPictures{built.Resources(), pictures, programPointer.Get()};
    Win32PeerFactory peers{screen,
                           {.icon = nullptr,
                            .formPointer = nullptr,
                            .pictures = designPictures,
                            .dialogOwner = nullptr,
                            .highContrast = [this] { return highContrast; }}};
    fakes::FakeShell shell;
    Win32Locale locale;
    Ports ports{start, settings, files, pictures, screen, pointer, random, messages, shell, locale};
    std::unique_ptr<ScreenSaverProgram> program;
};

}  // namespace glimra::win32::testing
