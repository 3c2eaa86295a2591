#include <gtest/gtest.h>

#include <stdexcept>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <commctrl.h>

#include "controls/Timer.h"
#include "win32/DialogFixture.h"

namespace glimra::win32 {
namespace {

// A model handler that throws is contained at the entry that ran it, and the program goes on.
class ContainedEntries : public testing::DialogWindow {};

[[noreturn]] void Fail() {
    throw std::runtime_error("handler failed");
}

TEST_F(ContainedEntries, HandlersThatThrowEndThereAndTheDialogGoesOn) {
    frmGlimraOptions& d = Dialog();
    int failures = 0;
    const auto failing = [&failures] {
        ++failures;
        Fail();
    };
    d.tbsOptions.Click = failing;
    d.cmdOK.MouseMove = d.picOptions[0].MouseMove = [&](int, int, float, float) { failing(); };

    // The form's window procedure: a click on the third tab.
    RECT tab;
    SendMessageW(Of(d.tbsOptions), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
    const LPARAM onTab = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    EXPECT_NO_THROW(SendMessageW(Of(d.tbsOptions), WM_LBUTTONDOWN, MK_LBUTTON, onTab));
    SendMessageW(Of(d.tbsOptions), WM_LBUTTONUP, 0, onTab);
    EXPECT_EQ(d.tbsOptions.SelectedItem(), 3);

    // The dialog's key filter: Ctrl+Tab runs the key preview, which selects the next tab.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_NO_THROW(Key(WM_KEYDOWN, VK_TAB));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(d.tbsOptions.SelectedItem(), 4);

    // A standard control's subclass procedure and a container window's procedure.
    EXPECT_NO_THROW(SendMessageW(Of(d.cmdOK), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)));
    EXPECT_NO_THROW(SendMessageW(Of(d.picOptions[0]), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4)));
    EXPECT_EQ(failures, 4);

    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(program->app.LoadedForms(), 0) << "and Esc still ends the program";
}

TEST_F(ContainedEntries, ATimerWhoseHandlerThrowsKeepsTicking) {
    frmLumivue& window = program->lumivue;
    int ticks = 0;
    window.timCheckScreen.Tick = [&ticks] {
        ++ticks;
        Fail();
    };
    window.timCheckScreen.SetEnabled(true);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (ticks < 2 && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            EXPECT_NO_THROW(DispatchMessageW(&message));
    }
    EXPECT_GE(ticks, 2);
    window.timCheckScreen.SetEnabled(false);
}

}  // namespace
}  // namespace glimra::win32
