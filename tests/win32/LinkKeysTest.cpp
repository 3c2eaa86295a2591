#include <gtest/gtest.h>

// clang-format off
#include "win32/base/Windows.h"
// clang-format on

#include <cstdint>
#include <vector>

#include "win32/DialogFixture.h"
#include "win32/pictures/Canvas.h"

namespace glimra::win32 {
namespace {

// The dialog with the pointer away from it, so no link lights up under it.
class LinkKeys : public testing::DialogWindow {
  protected:
    void SetUp() override {
        SetCursorPos(0, 0);
        DialogWindow::SetUp();
    }
    HWND StandInOf(const Control& link) { return Window().Controls().StandInOf(link); }
    // Tab, or Shift+Tab, as the dialog's navigation reads the Shift key.
    void Tab(bool back = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = back ? 0x80 : 0;
        SetKeyboardState(keys);
        Key(WM_KEYDOWN, VK_TAB);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
};

// The pixels `window` shows in `area` of its client area, as they are on the screen.
std::vector<std::uint32_t> Shown(HWND window, const RECT& area) {
    UpdateWindow(window);
    const int width = area.right - area.left, height = area.bottom - area.top;
    Canvas shot;
    if (width <= 0 || height <= 0 || !shot.Resize(width, height)) return {};
    const HDC screen = GetDC(window);
    BitBlt(shot.Dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(window, screen);
    GdiFlush();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels.push_back(shot.Row(y)[x] & 0xFFFFFF);
    }
    return pixels;
}

// The pixels of `area` that changed from `before` to `after`: on its edge, and inside it.
struct Changed {
    int edge = 0;
    int inside = 0;
};
Changed ChangedIn(const RECT& area, const std::vector<std::uint32_t>& before,
                  const std::vector<std::uint32_t>& after) {
    Changed changed;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (before.size() != after.size() || before.size() != static_cast<size_t>(width * height))
        return {-1, -1};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y * width + x);
            if (before[at] == after[at]) continue;
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            ++(edge ? changed.edge : changed.inside);
        }
    }
    return changed;
}

TEST_F(LinkKeys, TabReachesEachLinkWithItsFocusAndEnterOrSpaceOpensIt) {
    frmGlimraOptions& d = Dialog();
    d.tbsOptions.SetSelectedItem(5);
    Pump();
    const HWND page = Of(d.fraSample5);
    const RECT help = Window().Windowless().FocusRectOf(d.lblHelpLink);
    const RECT download = Window().Windowless().FocusRectOf(d.lblDownloadLink);
    SetFocus(Of(d.cmdApply));  // the last control before the page's
    Pump();
    const auto helpBefore = Shown(page, help), downloadBefore = Shown(page, download);
    const int helpEdge = 2 * (help.right - help.left + help.bottom - help.top);

    Tab();
    ASSERT_TRUE(StandInOf(d.lblHelpLink));
    EXPECT_EQ(GetFocus(), StandInOf(d.lblHelpLink));
    const Changed focused = ChangedIn(help, helpBefore, Shown(page, help));
    EXPECT_GT(focused.edge, helpEdge / 4) << "a dotted rectangle round the label and its icon";
    EXPECT_EQ(focused.inside, 0);
    Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(shell.opened, std::vector<std::wstring>{d.strHelpPagePath});

    Tab();
    EXPECT_EQ(GetFocus(), StandInOf(d.lblDownloadLink));
    const Changed left = ChangedIn(help, helpBefore, Shown(page, help));
    EXPECT_EQ(left.edge + left.inside, 0) << "the help link's focus is gone";
    EXPECT_GT(ChangedIn(download, downloadBefore, Shown(page, download)).edge, 0);
    shell.opened.clear();
    Key(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(shell.opened, std::vector<std::wstring>{d.strDownloadAddress});
    EXPECT_TRUE(d.Visible());
}

TEST_F(LinkKeys, TheTabOrderCyclesThroughThePageInViewWithTheLinksLastOnTheirs) {
    frmGlimraOptions& d = Dialog();
    const std::pair<int, std::vector<HWND>> pages[] = {
        {1,
         {Of(d.cmdOK), Of(d.cmdCancel), Of(d.cmdApply), Of(d.txtPathLocation), Of(d.cmdBrowse),
          Of(d.tbsOptions)}},
        {5,
         {Of(d.cmdOK), Of(d.cmdCancel), Of(d.cmdApply), StandInOf(d.lblHelpLink),
          StandInOf(d.lblDownloadLink), Of(d.tbsOptions)}},
    };
    for (const auto& [tab, order] : pages) {
        SCOPED_TRACE(tab);
        d.tbsOptions.SetSelectedItem(tab);
        SetFocus(Of(d.tbsOptions));
        Pump();
        std::vector<HWND> forward, back;
        for (size_t i = 0; i < order.size(); ++i) {
            Tab();
            forward.push_back(GetFocus());
        }
        EXPECT_EQ(forward, order);
        for (size_t i = 0; i < order.size(); ++i) {
            Tab(true);
            back.push_back(GetFocus());
        }
        std::vector<HWND> reversed(order.rbegin() + 1, order.rend());
        reversed.push_back(order.back());
        EXPECT_EQ(back, reversed) << "Shift+Tab goes the other way";
    }
}

TEST_F(LinkKeys, F1OpensTheHelpPageWhereverTheFocusIs) {
    frmGlimraOptions& d = Dialog();
    ASSERT_EQ(d.tbsOptions.SelectedItem(), 1);
    for (const Control* focus :
         {static_cast<const Control*>(&d.tbsOptions),
          static_cast<const Control*>(&d.txtPathLocation), static_cast<const Control*>(&d.cmdOK)}) {
        SCOPED_TRACE(std::string(focus->Name().begin(), focus->Name().end()));
        SetFocus(Of(*focus));
        shell.opened.clear();
        Key(WM_KEYDOWN, VK_F1);
        Key(WM_KEYUP, VK_F1);
        EXPECT_EQ(shell.opened, std::vector<std::wstring>{d.strHelpPagePath});
        EXPECT_EQ(GetFocus(), Of(*focus)) << "the focus stays";
    }
}

}  // namespace
}  // namespace glimra::win32
