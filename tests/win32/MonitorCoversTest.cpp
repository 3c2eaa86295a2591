#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/Application.h"
#include "controls/Form.h"
#include "win32/monitors/MonitorCovers.h"
#include "win32/system/Win32Screen.h"

namespace glimra::win32 {
namespace {

// A form that counts the input its window reports.
class CountingForm : public Form {
  public:
    explicit CountingForm(Application& app) : Form(app, FormDesign{}) {}
    int clicks = 0, keys = 0, moves = 0;

  protected:
    void Form_Click() override { ++clicks; }
    void Form_KeyDown(int, int) override { ++keys; }
    void Form_MouseMove(int, int, float, float) override { ++moves; }
};

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

class Covers : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!window) GTEST_SKIP() << "no display to make windows on";
    }
    void TearDown() override {
        covers.Update(nullptr, false);
        if (window) DestroyWindow(window);
    }
    std::vector<std::string> Covered() const {
        std::vector<std::string> found;
        for (HWND cover : covers.Windows()) {
            RECT r;
            GetWindowRect(cover, &r);
            const bool topmost = (GetWindowLongW(cover, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            found.push_back(Describe(r) + (IsWindowVisible(cover) ? "" : " hidden") +
                            (topmost ? " topmost" : ""));
        }
        return found;
    }

    Application app;
    CountingForm form{app};
    Win32Screen screen;
    std::vector<Monitor> monitors;
    MonitorCovers covers{form, screen, nullptr, [this] { return monitors; }};
    HWND window = nullptr;
    const RECT primary{0, 0, 1024, 768};
    const Monitor primaryMonitor{primary, true};
};

TEST_F(Covers, EveryOtherMonitorIsCoveredAsMonitorsComeAndGoTopmostAsTheWindowIs) {
    const RECT right{primary.right, 0, primary.right + 800, 600};
    const RECT left{primary.left - 640, 100, primary.left, 580};
    const struct {
        std::vector<Monitor> monitors;
        bool topmost, fullScreen;
        std::vector<std::string> covered;
    } steps[] = {
        {{primaryMonitor}, true, true, {}},
        {{primaryMonitor, {right, false}}, true, true, {Describe(right) + " topmost"}},
        {{{left, false}, primaryMonitor, {right, false}},
         true,
         true,
         {Describe(left) + " topmost", Describe(right) + " topmost"}},
        {{primaryMonitor, {left, false}}, false, true, {Describe(left)}},
        {{primaryMonitor, {left, false}}, true, false, {}},
        {{primaryMonitor, {primary, false}}, true, true, {}},  // a mirror shows the window itself
        {{{right, false}}, true, true, {}},                    // no primary: nothing is known
        {{primaryMonitor}, true, true, {}},
    };
    for (const auto& step : steps) {
        monitors = step.monitors;
        SetWindowPos(window, step.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        covers.Update(window, step.fullScreen);  // as at every change of monitors or window
        EXPECT_EQ(Covered(), step.covered) << step.monitors.size() << " monitors";
    }
}

TEST_F(Covers, AClickAKeyAndAMovementOverACoverReachTheForm) {
    monitors = {primaryMonitor, {RECT{primary.right, 0, primary.right + 800, 600}, false}};
    covers.Update(window, true);
    ASSERT_EQ(covers.Windows().size(), 1u);
    const HWND cover = covers.Windows()[0];
    for (UINT message : {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP})
        SendMessageW(cover, message, 0, MAKELPARAM(10, 10));
    SendMessageW(cover, WM_KEYDOWN, VK_SHIFT, 1);
    SendMessageW(cover, WM_SYSKEYDOWN, VK_MENU, 1);
    for (int i = 0; i < 6; ++i)
        SendMessageW(cover, WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 10));
    EXPECT_EQ(form.clicks, 3);
    EXPECT_EQ(form.keys, 2);
    EXPECT_EQ(form.moves, 6);
}

}  // namespace
}  // namespace glimra::win32
