#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "screensaver/ScreenSaverProgram.h"
#include "settings/SettingKeys.h"
#include "win32/forms/FormWindow.h"
#include "win32/forms/Win32PeerFactory.h"
#include "win32/pictures/DesignPictures.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {
namespace {

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

BOOL CALLBACK AddCover(HWND window, LPARAM found) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) != L"GlimraMonitorCover") return TRUE;
    RECT r;
    GetWindowRect(window, &r);
    const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    reinterpret_cast<std::vector<std::string>*>(found)->push_back(
        Describe(r) + (IsWindowVisible(window) ? "" : " hidden") + (topmost ? " topmost" : ""));
    return TRUE;
}

// The real slide-show window over monitors that the test changes while the show runs, told
// of each change as the system tells it. The pictures are the fake loader's: what the show
// paints is read from its drawing surface.
class DisplayChange : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.program.arguments = L"/s";
        platform.settings.values = {{keys::kPath, L"C:\\Pictures"}, {keys::kInitialized, L"True"}};
        monitors = {{{0, 0, 1024, 768}, true}};
        program.Start();
        Pump();
        ASSERT_TRUE(Window()) << "the show's window was made";
        ASSERT_TRUE(IsWindowVisible(Window()));
    }
    void TearDown() override {
        if (program.lumivue.Loaded()) program.lumivue.PlatformClose();
        Pump();
    }

    HWND Window() {
        const auto* peer = static_cast<FormWindow*>(program.lumivue.Peer());
        return peer ? peer->Handle() : nullptr;
    }

    // Every message but the timers', so nothing changes behind the test.
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageW(&message, nullptr, WM_TIMER + 1, UINT_MAX, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // The monitor covers of this thread, in a fixed order.
    std::vector<std::string> Covers() {
        std::vector<std::string> found;
        EnumThreadWindows(GetCurrentThreadId(), &AddCover, reinterpret_cast<LPARAM>(&found));
        std::sort(found.begin(), found.end());
        return found;
    }

    // Where the show painted its one picture, in pixels of the window: "left,top widthxheight".
    std::string Picture() {
        const auto& surface = program.lumivue.Surface();
        if (surface.size() != 1) return std::to_string(surface.size()) + " pictures";
        const DrawnPicture& drawn = surface[0];
        const auto px = [&](float twips) {
            return std::to_string(std::lround(twips / platform.screen.twipsPerPixel));
        };
        return px(drawn.left) + "," + px(drawn.top) + " " + px(drawn.width) + "x" +
               px(drawn.height);
    }

    fakes::FakePlatform platform;
    WicPictureLoader designLoader{GetModuleHandleW(nullptr), 1024, 768, 96};
    DesignPictures designPictures{GetModuleHandleW(nullptr), designLoader, nullptr};
    std::vector<Monitor> monitors;
    Win32PeerFactory peers{
        platform.screen, {nullptr, nullptr, designPictures, nullptr, [this] { return monitors; }}};
    ScreenSaverProgram program{platform.ports, &peers};
};

TEST_F(DisplayChange, TheShowFitsThePrimaryMonitorAndCoversTheOthersAsTheyNowAre) {
    // The start picture, 640 x 480, is what the show paints.
    const struct {
        const char* change;
        std::vector<Monitor> monitors;
        std::string window;
        std::vector<std::string> covers;
        std::string picture;
    } steps[] = {
        {"the primary monitor made smaller",
         {{{0, 0, 800, 600}, true}},
         "0,0-800,600",
         {},
         "80,60 640x480"},
        {"a monitor added on the right",
         {{{0, 0, 800, 600}, true}, {{800, 0, 1824, 768}, false}},
         "0,0-800,600",
         {"800,0-1824,768 topmost"},
         "80,60 640x480"},
        {"one added on the left, the primary made larger",
         {{{-640, 100, 0, 580}, false}, {{0, 0, 1280, 1024}, true}, {{1280, 0, 2304, 768}, false}},
         "0,0-1280,1024",
         {"-640,100-0,580 topmost", "1280,0-2304,768 topmost"},
         "320,272 640x480"},
        {"the right one made primary, so the others move left of it",
         {{{-1920, 100, -1280, 580}, false},
          {{-1280, 0, 0, 1024}, false},
          {{0, 0, 1024, 768}, true}},
         "0,0-1024,768",
         {"-1280,0-0,1024 topmost", "-1920,100--1280,580 topmost"},
         "192,144 640x480"},
        {"all but a primary smaller than the picture removed",
         {{{0, 0, 320, 240}, true}},
         "0,0-320,240",
         {},
         "0,0 320x240"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.change);
        monitors = step.monitors;
        const RECT primary = *PrimaryOf(monitors);
        SendMessageW(Window(), WM_DISPLAYCHANGE, 32,
                     MAKELPARAM(primary.right - primary.left, primary.bottom - primary.top));
        Pump();
        RECT window;
        GetWindowRect(Window(), &window);
        EXPECT_EQ(Describe(window), step.window);
        EXPECT_EQ(Covers(), step.covers);
        EXPECT_EQ(Picture(), step.picture);
    }
}

}  // namespace
}  // namespace glimra::win32
