#include <gtest/gtest.h>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on
#include <commctrl.h>

#include <algorithm>

#include "options/OptionsTexts.h"
#include "win32/DialogFixture.h"
#include "win32/forms/ControlIds.h"
#include "win32/pictures/Canvas.h"

namespace glimra::win32 {
namespace {

using testing::DialogWindow;

TEST_F(DialogWindow, EachControlIsTheStandardControlOfItsKindWithItsNameAsId) {
    frmGlimraOptions& d = Dialog();
    const std::pair<const Control*, const wchar_t*> kinds[] = {
        {&d.tbsOptions, WC_TABCONTROLW},     {&d.txtPathLocation, WC_EDITW},
        {&d.cmdBrowse, WC_BUTTONW},          {&d.chkAlwaysOnTop, WC_BUTTONW},
        {&d.DrivePath, WC_COMBOBOXW},        {&d.DirPath, WC_LISTBOXW},
        {&d.FilePath, WC_LISTBOXW},          {&d.picOptions[2], L"GlimraContainer"},
        {&d.fraSample1, L"GlimraContainer"},
    };
    for (const auto& [control, kind] : kinds) {
        ASSERT_TRUE(Of(*control)) << std::string(control->Name().begin(), control->Name().end());
        EXPECT_EQ(ClassOf(*control), kind);
        EXPECT_EQ(GetDlgCtrlID(Of(*control)), ControlIdOf(control->Name()));
    }
    EXPECT_EQ(GetWindowLongW(Of(d.chkAlwaysOnTop), GWL_STYLE) & BS_TYPEMASK, BS_3STATE);
    EXPECT_EQ(Of(d.lblRunFirstTime), nullptr) << "labels have no window";
    RECT client;
    GetClientRect(Window().Handle(), &client);
    const int dpi = Window().CurrentDpi();
    EXPECT_EQ(client.right, MulDiv(6150, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(4920, dpi, 1440));
}

TEST_F(DialogWindow, WhatTheUserDoesReachesTheModelAndWhatTheModelHoldsIsShown) {
    frmGlimraOptions& d = Dialog();
    EXPECT_EQ(SendMessageW(Of(d.FilePath), LB_GETCOUNT, 0, 0), 0) << "nothing in a hidden list";
    EXPECT_FALSE(IsWindowVisible(Of(d.DirPath)));
    SendMessageW(Of(d.cmdBrowse), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(Of(d.DirPath)));
    EXPECT_EQ(SendMessageW(Of(d.FilePath), LB_GETCOUNT, 0, 0), 1) << "one.jpg only";

    SetWindowTextW(Of(d.txtPathLocation), L"typed");
    EXPECT_EQ(d.txtPathLocation.Text(), L"typed");

    d.tbsOptions.SetSelectedItem(2);
    const int before = d.chkRandomImages.Value();
    SendMessageW(Of(d.chkRandomImages), BM_CLICK, 0, 0);
    EXPECT_EQ(d.chkRandomImages.Value(), before == 1 ? 0 : 1);
    d.chkRandomImages.SetValue(2);
    EXPECT_EQ(SendMessageW(Of(d.chkRandomImages), BM_GETCHECK, 0, 0), BST_INDETERMINATE);

    d.tbsOptions.SetSelectedItem(4);
    EXPECT_EQ(SendMessageW(Of(d.tbsOptions), TCM_GETCURSEL, 0, 0), 3);
    EXPECT_FALSE(IsWindowEnabled(Of(d.cmdBrowse))) << "controls of a page out of view are off";
    EXPECT_TRUE(IsWindowEnabled(Of(d.picOptions[3])));
}

TEST_F(DialogWindow, TipsAreThereForControlsTabsAndWindowlessControls) {
    frmGlimraOptions& d = Dialog();
    HWND tooltip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (lstrcmpW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&tooltip));
    ASSERT_TRUE(tooltip);
    auto tipOf = [&](HWND hwnd, UINT_PTR id, UINT flags) {
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = hwnd;
        tool.uId = id;
        tool.uFlags = flags;
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(text);
    };
    EXPECT_EQ(tipOf(Window().Handle(), reinterpret_cast<UINT_PTR>(Of(d.cmdBrowse)), TTF_IDISHWND),
              L"Click to browse and find images for the screen saver to display");
    EXPECT_EQ(tipOf(Of(d.fraSample5), reinterpret_cast<UINT_PTR>(&d.lblHelpLink), 0),
              L"Click here for Help");
    d.DirPath.SetPath(folder.Path() + L"alpha");
    EXPECT_EQ(
        tipOf(Window().Handle(), reinterpret_cast<UINT_PTR>(Of(d.txtPathLocation)), TTF_IDISHWND),
        d.txtPathLocation.Text())
        << "tips follow the model";

    for (int tab = 0; tab < 5; ++tab) {
        EXPECT_EQ(tipOf(Of(d.tbsOptions), static_cast<UINT_PTR>(tab), 0),
                  d.tbsOptions.Tabs()[static_cast<size_t>(tab)].toolTipText);
    }

    // A disabled window gets no mouse, its parent does: the parent has the control's tip over
    // the control's place, so a setting an administrator locked still says why.
    d.cmdBrowse.SetEnabled(false);
    const HWND browse = Of(d.cmdBrowse), parent = GetParent(browse);
    RECT place;
    GetWindowRect(browse, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    TTHITTESTINFOW hit{};
    hit.hwnd = parent;
    hit.pt = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    hit.ti.cbSize = sizeof(hit.ti);
    ASSERT_TRUE(SendMessageW(tooltip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    EXPECT_EQ(hit.ti.uId, reinterpret_cast<UINT_PTR>(&d.cmdBrowse));
    EXPECT_EQ(tipOf(parent, hit.ti.uId, 0), d.cmdBrowse.ToolTipText());
}

TEST_F(DialogWindow, KeysFollowTheDialogNavigation) {
    frmGlimraOptions& d = Dialog();
    EXPECT_EQ(GetFocus(), Of(d.tbsOptions)) << "the tab strip has the focus when it opens";
    Key(WM_SYSCHAR, L'p');
    EXPECT_EQ(d.tbsOptions.SelectedItem(), 2) << "Alt+P";
    Key(WM_SYSCHAR, L'b');
    EXPECT_EQ(d.tbsOptions.SelectedItem(), 4) << "Alt+B: Browse is out of view";
    Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(d.Visible()) << "Enter is no button";
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(program->app.LoadedForms(), 0) << "Esc cancels, which ends the program";
}

// The dialog appears under a resting pointer, as it does when started from the system's settings
// window: the platform sends it a mouse-move message without any movement.
class RestingPointer : public DialogWindow {
  protected:
    void SetUp() override {
        GetCursorPos(&before);
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2 + 16);
        freshStore = true;
        DialogWindow::SetUp();
    }
    void TearDown() override {
        DialogWindow::TearDown();
        SetCursorPos(before.x, before.y);
    }
    POINT before{};
};

TEST_F(RestingPointer, TheWelcomeStaysUntilThePointerReallyMovesOverTheFrame) {
    frmGlimraOptions& d = Dialog();
    const HWND frame = Of(d.fraSample1);
    POINT resting;
    GetCursorPos(&resting);
    ASSERT_EQ(WindowFromPoint(resting), frame) << "the pointer rests on the frame";
    const auto moveTo = [&](POINT at) {
        ScreenToClient(frame, &at);
        SendMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    };
    moveTo(resting);
    EXPECT_EQ(d.lblRunFirstTime.Caption(), texts::kWelcome);
    moveTo({resting.x + 4, resting.y + 3});
    EXPECT_EQ(d.lblRunFirstTime.Caption(), L"") << "a real movement clears it";
}

// The number of dark pixels (text, edges, check boxes) of a window as it shows on the
// dialog's surface, a few pixels in from its edge.
int DarkPixelsOf(HWND dialog, HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    InflateRect(&place, -3, -3);
    Canvas shot;
    const int width = place.right - place.left, height = place.bottom - place.top;
    if (width <= 0 || height <= 0 || !shot.Resize(width, height)) return 0;
    const HDC surface = GetDCEx(dialog, nullptr, DCX_CACHE);  // children not clipped
    BitBlt(shot.Dc(), 0, 0, width, height, surface, place.left, place.top, SRCCOPY);
    ReleaseDC(dialog, surface);
    GdiFlush();
    int dark = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = shot.Row(y)[x];
            const int sum = (pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF);
            dark += sum < 3 * 96 ? 1 : 0;
        }
    }
    return dark;
}

TEST_F(DialogWindow, EveryStandardControlOfAPageIsDrawnRightAfterItComesIntoView) {
    frmGlimraOptions& d = Dialog();
    d.cmdBrowse_Click();  // the lists too
    RECT client;
    GetClientRect(Window().Handle(), &client);
    for (const int tab : {2, 3, 4, 5, 1}) {
        d.tbsOptions.SetSelectedItem(tab);
        Pump();
        // Whatever repaints the tab strip next (a hot tab, the focus) leaves the page as it is.
        RedrawWindow(Of(d.tbsOptions), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        for (const Control* control : d.AllControls()) {
            const HWND hwnd = Of(*control);
            const bool standard = control->Kind() != ControlKind::PictureBox &&
                                  control->Kind() != ControlKind::Frame &&
                                  control->Kind() != ControlKind::TabStrip;
            RECT place;
            GetWindowRect(hwnd, &place);
            MapWindowPoints(nullptr, Window().Handle(), reinterpret_cast<POINT*>(&place), 2);
            if (!standard || !IsWindowVisible(hwnd) || place.left < 0 || place.right > client.right)
                continue;  // not a standard control, or on a page out of view
            EXPECT_GT(DarkPixelsOf(Window().Handle(), hwnd), 0)
                << "tab " << tab << ": "
                << std::string(control->Name().begin(), control->Name().end()) << " is blank";
        }
    }
}

// Counts the fonts a window was given while the font it held was already deleted.
LRESULT CALLBACK WatchFonts(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR deadFonts) {
    if (message == WM_SETFONT) {
        const auto held = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        if (held && GetObjectType(held) != OBJ_FONT) ++*reinterpret_cast<int*>(deadFonts);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The tab's width beyond its caption's: the margins on both sides.
int TabMargins(HWND tabs, const std::wstring& caption) {
    RECT item;
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const HDC dc = GetDC(tabs);
    SelectIn font(dc, reinterpret_cast<HFONT>(SendMessageW(tabs, WM_GETFONT, 0, 0)));
    RECT text{};
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    ReleaseDC(tabs, dc);
    return (item.right - item.left) - text.right;
}

TEST_F(DialogWindow, MovingToAMonitorOfTwiceTheResolutionLaysItOutAgain) {
    frmGlimraOptions& d = Dialog();
    const HWND window = Window().Handle();
    ASSERT_EQ(Window().CurrentDpi(), 96);
    const HWND tabs = Of(d.tbsOptions);
    const std::wstring caption = d.tbsOptions.Tabs()[0].caption;
    const int margins = TabMargins(tabs, caption);
    const HWND tips = Window().Tips().Handle();
    const LRESULT tipWidth = SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0);
    int deadFonts = 0;
    for (const Control* control : d.AllControls()) {
        if (Of(*control))
            SetWindowSubclass(Of(*control), WatchFonts, 7, reinterpret_cast<DWORD_PTR>(&deadFonts));
    }

    RECT outer;
    GetWindowRect(window, &outer);
    RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * 2,
                   outer.top + (outer.bottom - outer.top) * 2};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    for (const Control* control : d.AllControls()) {
        if (Of(*control)) RemoveWindowSubclass(Of(*control), WatchFonts, 7);
    }
    EXPECT_EQ(Window().CurrentDpi(), 192);
    EXPECT_EQ(deadFonts, 0) << "controls were left holding deleted fonts";

    RECT place;
    GetWindowRect(Of(d.cmdOK), &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, MulDiv(2490, 192, 1440));
    EXPECT_EQ(place.right - place.left, MulDiv(1095, 192, 1440));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Of(d.cmdOK), WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(975, 192, 7200)) << "Arial 9.75 at the new resolution";

    // The folder lists' rows: the small icon with a pixel above and below, at least 255 twips.
    const int row = std::max(GetSystemMetricsForDpi(SM_CYSMICON, 192) + 2, MulDiv(255, 192, 1440));
    EXPECT_EQ(SendMessageW(Of(d.DirPath), LB_GETITEMHEIGHT, 0, 0), row);
    EXPECT_EQ(SendMessageW(Of(d.DrivePath), CB_GETITEMHEIGHT, 0, 0), row) << "the open list";
    d.DrivePath.SetToolTipText(L"synced again");
    EXPECT_GE(SendMessageW(Of(d.DrivePath), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), row)
        << "the field holds a row";
    EXPECT_NEAR(TabMargins(tabs, caption), 2 * margins, 1) << "the tabs' margins";
    EXPECT_EQ(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0), 2 * tipWidth) << "the tips' width";
}

TEST_F(DialogWindow, TheLinksShowTheHandAndTheAboutFrameTheProgramIcon) {
    frmGlimraOptions& d = Dialog();
    const HCURSOR hand = designPictures.Pointer(PointerPicture::PointingHand);
    ASSERT_TRUE(hand && programPointer);
    POINT rest;
    GetCursorPos(&rest);
    d.tbsOptions.SetSelectedItem(5);
    Pump();
    const Control* const links[] = {&d.lblHelpLink, &d.imgHelpLink, &d.lblDownloadLink,
                                    &d.imgDownloadLink};
    for (const Control* link : links) {
        const float x = link->Left() + link->Width() / 2, y = link->Top() + link->Height() / 2;
        EXPECT_EQ(PointerAfterMovingTo(d.fraSample5, x, y), hand)
            << std::string(link->Name().begin(), link->Name().end());
        EXPECT_EQ(PointerAfterMovingTo(d.fraSample5, 60, 3500), LoadCursorW(nullptr, IDC_ARROW))
            << "restored on the frame around it";
    }
    d.tbsOptions.SetSelectedItem(4);
    Pump();
    // Right of the title block and below the distribution text: the frame itself.
    EXPECT_EQ(PointerAfterMovingTo(d.fraSample2, 5360, 3660), programPointer.Get());
    SetCursorPos(rest.x, rest.y);  // out of the way of the windows that later tests open
}

// The mouse over the dialog and the keys reach whichever window the platform gives them to:
// the one under the pointer and the one with the focus. None of it may reach the window
// behind the dialog, whose exit check would end the program.
TEST_F(DialogWindow, InputOverTheDialogNeverReachesTheWindowBehindIt) {
    const auto mouseAt = [](POINT onDialog, UINT message, WPARAM buttons) {
        const HWND under = WindowFromPoint(onDialog);
        POINT client = onDialog;
        ScreenToClient(under, &client);
        MSG queued{under, message, buttons, MAKELPARAM(client.x, client.y), 0, onDialog};
        DispatchMessageW(&queued);
    };
    POINT corner{3, 3};
    ClientToScreen(Window().Handle(), &corner);
    for (int i = 0; i < 6; ++i)
        mouseAt({corner.x + i, corner.y}, WM_MOUSEMOVE, 0);
    mouseAt(corner, WM_LBUTTONDOWN, MK_LBUTTON);
    mouseAt(corner, WM_LBUTTONUP, 0);
    Key(WM_KEYDOWN, VK_SHIFT);
    Pump();
    const HWND under = WindowFromPoint(corner);
    EXPECT_TRUE(under == Window().Handle() || IsChild(Window().Handle(), under))
        << "the dialog is in front where the pointer is";
    EXPECT_FALSE(program->lumivue.blnExitRequested);
    program->lumivue.timCheckScreen.Fire();
    EXPECT_TRUE(Dialog().Visible());
}

TEST(FolderErrors, EveryWayOfNotReachingADeviceIsUnavailable) {
    for (DWORD error : {ERROR_NOT_READY, ERROR_NO_MEDIA_IN_DRIVE, ERROR_BAD_NETPATH,
                        ERROR_BAD_NET_NAME, ERROR_NETWORK_UNREACHABLE, ERROR_NOT_CONNECTED,
                        ERROR_DEV_NOT_EXIST, ERROR_CONNECTION_UNAVAIL})
        EXPECT_EQ(FolderErrorOf(error), FolderError::DeviceUnavailable) << error;
    for (DWORD error : {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED})
        EXPECT_EQ(FolderErrorOf(error), FolderError::NotFound) << error;
    Win32FileSystem files;
    std::vector<std::wstring> names;
    EXPECT_EQ(files.SubFolders(L"C:\\no-such-folder-here", names), FolderError::NotFound);
}

}  // namespace
}  // namespace glimra::win32
