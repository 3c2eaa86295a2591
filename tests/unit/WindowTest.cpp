#include <gtest/gtest.h>

#include "imaging/PictureFit.h"
#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

// The full-screen window: layout of the picture and the exit on user input.
class Window : public ProgramTest {
  protected:
    void StartOn(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight) {
        platform.screen.widthPx = screenWidth;
        platform.screen.heightPx = screenHeight;
        platform.files.AddFiles(L"C:\\P\\", {L"p.jpg"});
        platform.pictures.sizes[L"C:\\P\\p.jpg"] = {pictureWidth, pictureHeight};
        Configure(L"C:\\P");
        settings().values[keys::kSecondsToDisplay] = L"1";
        Start(L"/s");
        window().timTimer.Fire();
    }
    // Where the picture is drawn, in pixels of 15 twips.
    std::vector<float> DrawnAt() {
        const auto& surface = window().Surface();
        if (surface.size() != 1) return {};
        const DrawnPicture& d = surface[0];
        return {d.left / 15, d.top / 15, d.width / 15, d.height / 15};
    }
};

TEST_F(Window, PicturesAreReducedToFitNeverEnlargedAndCentred) {
    const struct {
        int screenW, screenH, w, h;
        std::vector<float> drawn;  // left, top, width, height
    } cases[] = {
        {800, 600, 640, 480, {80, 60, 640, 480}},
        {1024, 768, 1600, 1200, {0, 0, 1024, 768}},
        {1024, 768, 2000, 500, {0, 256, 1024, 256}},
        {1024, 768, 500, 2000, {416, 0, 192, 768}},
        {1024, 768, 1024, 768, {0, 0, 1024, 768}},
        {1024, 768, 1, 1, {511.5f, 383.5f, 1, 1}},
        {1024, 768, 1025, 10, {0, 379.005f, 1024, 9.990f}},  // one pixel too wide
    };
    for (const auto& c : cases) {
        StartOn(c.screenW, c.screenH, c.w, c.h);
        const std::vector<float> drawn = DrawnAt();
        ASSERT_EQ(drawn.size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(drawn[i], c.drawn[i], 0.01) << c.w << "x" << c.h << " value " << i;
        }
    }
}

TEST_F(Window, PicturePixelsAreTheWindowsAtItsMonitorsResolutionNeverEnlarged) {
    // A window of 1920 x 1080 pixels on a monitor whose resolution differs from the system's
    // (15 twips a pixel): pictures fill it exactly, or keep their pixels, never enlarged.
    const struct {
        float twipsPerPixel;
        int w, h;
        std::vector<float> drawn;  // left, top, width, height in the window's pixels
    } cases[] = {
        {15, 1920, 1080, {0, 0, 1920, 1080}},  {10, 1920, 1080, {0, 0, 1920, 1080}},
        {10, 960, 540, {480, 270, 960, 540}},  {20, 960, 540, {480, 270, 960, 540}},
        {10, 3840, 1080, {0, 270, 1920, 540}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.twipsPerPixel << " " << c.w << "x" << c.h);
        StartOn(1920, 1080, c.w, c.h);
        window().PlatformScaled(c.twipsPerPixel);
        window().PlatformResized(1920 * c.twipsPerPixel, 1080 * c.twipsPerPixel,
                                 1920 * c.twipsPerPixel, 1080 * c.twipsPerPixel);
        const auto& surface = window().Surface();
        ASSERT_EQ(surface.size(), 1u);
        const DrawnPicture& d = surface[0];
        const std::vector<float> drawn = {d.left / c.twipsPerPixel, d.top / c.twipsPerPixel,
                                          d.width / c.twipsPerPixel, d.height / c.twipsPerPixel};
        for (size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(drawn[i], c.drawn[i], 0.01) << "value " << i;
    }
}

TEST_F(Window, EveryPictureIsDrawnIntoTheRectangleTheLoaderKeepsItAt) {
    // The window places in twips and the platform turns that into pixels; raster pictures are
    // kept at ShownRect's size, so the two must meet to the pixel or the picture is scaled twice.
    const struct {
        int W, H;
        float twipsPerPixel;
    } screens[] = {{1024, 768, 15},  {1920, 1080, 15}, {2560, 1440, 15},
                   {3840, 2160, 15}, {1920, 1080, 10}, {2560, 1440, 10}};
    const std::pair<int, int> pictures[] = {{6000, 4000}, {4000, 3000}, {1632, 1224}, {3000, 2000},
                                            {1000, 3000}, {2400, 600},  {1025, 10},   {777, 1999},
                                            {4001, 2999}, {1, 1},       {5472, 3648}, {4032, 3024}};
    for (const auto& s : screens) {
        for (const auto& [w, h] : pictures) {
            platform.screen.twipsPerPixel = s.twipsPerPixel;
            StartOn(s.W, s.H, w, h);
            ASSERT_EQ(window().Surface().size(), 1u);
            const DrawnPicture& d = window().Surface()[0];
            const PixelRect drawn =
                PixelsOf({d.left, d.top, d.width, d.height}, s.twipsPerPixel, s.twipsPerPixel);
            const PixelRect kept = ShownRect(w, h, s.W, s.H, s.twipsPerPixel, s.twipsPerPixel);
            EXPECT_TRUE(drawn.left == kept.left && drawn.top == kept.top &&
                        drawn.right == kept.right && drawn.bottom == kept.bottom)
                << w << "x" << h << " on " << s.W << "x" << s.H << " drawn " << drawn.Width() << "x"
                << drawn.Height() << ", kept " << kept.Width() << "x" << kept.Height();
        }
    }
}

TEST_F(Window, TheBlankPictureIsOneBlackPixelInTheMiddle) {
    Configure(L"C:\\P");
    settings().values[keys::kShowSplashScreen] = L"5";
    Start(L"/s");
    ASSERT_EQ(window().Surface().size(), 1u);
    EXPECT_EQ(window().Surface()[0].picture, platform.pictures.blank);
    EXPECT_FLOAT_EQ(window().Surface()[0].width, 15);
    EXPECT_FLOAT_EQ(window().Surface()[0].left, (800 * 15 - 15) / 2.0f);
}

TEST_F(Window, ResizeRepaintsClearsTheClickCountAndKeepsTheWindowMaximized) {
    StartOn(800, 600, 640, 480);
    window().PlatformClick();
    window().SetWindowState(WindowState::Normal);
    window().PlatformResized(1000, 1000, 1000, 1000);
    EXPECT_EQ(window().intClickCount, 0);
    EXPECT_EQ(window().GetWindowState(), WindowState::Maximized);
    EXPECT_TRUE(window().blnExitRequested) << "only the count is cleared, not the request";
}

// Input events in order, then one exit check: does the program end?
struct InputCase {
    const char* name;
    std::string events;  // c = click, k = key, m = movement, p/q = holder click/movement
    bool ends;
};

class InputTable : public Window, public ::testing::WithParamInterface<InputCase> {};

TEST_P(InputTable, TheLastEventBeforeTheCheckDecides) {
    StartOn(800, 600, 640, 480);
    for (char event : GetParam().events) {
        switch (event) {
            case 'c':
                window().PlatformClick();
                break;
            case 'k':
                window().PlatformKeyDown(16, 1);
                break;
            case 'm':
                window().PlatformMouseMove(0, 0, 10, 10);
                break;
            case 'p':
                window().picHiddenScreenSaver_Click();
                break;
            case 'q':
                window().picHiddenScreenSaver_MouseMove();
                break;
        }
    }
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode() == Mode::Ended, GetParam().ends);
    if (!GetParam().ends) {
        EXPECT_EQ(window().intClickCount, 0);
        EXPECT_EQ(window().intMouseMoveCount, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Exit, InputTable,
                         ::testing::Values(InputCase{"NoInput", "", false},
                                           InputCase{"OneClick", "c", true},
                                           InputCase{"OneKey", "k", true},
                                           InputCase{"FiveMovements", "mmmmm", false},
                                           InputCase{"SixMovements", "mmmmmm", true},
                                           InputCase{"ClickThenTwoMovements", "cmm", false},
                                           InputCase{"SixMovementsThenClick", "mmmmmmc", true},
                                           InputCase{"HolderClick", "p", true},
                                           InputCase{"HolderMovements", "qqqmmm", true},
                                           InputCase{"HolderFiveMovements", "qqqqq", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Window, CountsArePerCheckPeriod) {
    StartOn(800, 600, 640, 480);
    for (int period = 0; period < 3; ++period) {
        for (int i = 0; i < 5; ++i)
            window().PlatformMouseMove(0, 0, 1, 1);
        window().timCheckScreen.Fire();
    }
    EXPECT_EQ(CurrentMode(), Mode::SlideShow) << "five movements per period never end it";
}

TEST_F(Window, APendingRequestSurvivesUntilTheCheckAndCountsSaturate) {
    StartOn(800, 600, 640, 480);
    window().intMouseMoveCount = 32767;
    window().PlatformMouseMove(0, 0, 1, 1);
    EXPECT_EQ(window().intMouseMoveCount, 32767);
    EXPECT_TRUE(window().blnExitRequested);
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::Ended);
    EXPECT_FALSE(program->options.Loaded()) << "the dialog is unloaded first";
}

TEST_F(Window, AChangeOfPictureClearsBothCounts) {
    StartOn(800, 600, 640, 480);
    for (int i = 0; i < 5; ++i)
        window().PlatformMouseMove(0, 0, 1, 1);
    window().timTimer.Fire();
    window().PlatformMouseMove(0, 0, 1, 1);
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::SlideShow);
}

TEST_F(Window, UsingTheDialogGivesTheExitCheckBehindItNothingToDo) {
    Start(L"/c");
    frmGlimraOptions& dialog = program->options;
    // More than enough to end a slide show, all of it where the user sees the dialog: the
    // platform sends input over the screen to the window in front.
    Form* front = platform.peers.FormInFront();
    ASSERT_NE(front, nullptr);
    for (int i = 0; i < 6; ++i) {
        front->PlatformMouseMove(0, 0, 10.0f * i, 10);
        dialog.picOptions[0].PlatformMouseMove(0, 0, 10.0f * i, 10);
    }
    front->PlatformClick();
    front->PlatformKeyDown(32, 0);
    dialog.tbsOptions.PlatformSelect(2);
    EXPECT_EQ(window().intMouseMoveCount + window().intClickCount, 0)
        << "no input reached the window";
    EXPECT_FALSE(window().blnExitRequested);
    EXPECT_EQ(front, &dialog) << "the dialog is in front";
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::OptionsDialog);
}

}  // namespace
}  // namespace glimra
