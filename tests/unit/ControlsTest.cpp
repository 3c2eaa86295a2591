#include <gtest/gtest.h>

#include <stdexcept>

#include "controls/Application.h"
#include "controls/Form.h"
#include "controls/Label.h"
#include "controls/Timer.h"
#include "fakes/FakePlatform.h"

namespace glimra {
namespace {

FormDesign TestDesign() {
    FormDesign design;
    design.caption = L"Test";
    return design;
}

class TestForm : public Form {
  public:
    explicit TestForm(Application& app)
        : Form(app, TestDesign()), timer(*this, 100, true), label(*this) {}
    std::function<void()> onLoad, onUnload;
    int loads = 0, unloads = 0, resizes = 0;
    Timer timer;
    Label label;

  protected:
    void Form_Load() override {
        ++loads;
        if (onLoad) onLoad();
    }
    void Form_Unload() override {
        ++unloads;
        if (onUnload) onUnload();
    }
    void Form_Resize() override { ++resizes; }
};

struct Controls : ::testing::Test {
    fakes::FakeScreen screen;
    fakes::FakePeerFactory peers{screen};
    Application app{&peers};
    TestForm first{app};
    TestForm second{app};
};

TEST_F(Controls, StartShowsTheStartupFormUnlessItsLoadHidOrUnloadedIt) {
    app.Start(first);
    EXPECT_EQ(first.loads, 1);
    EXPECT_TRUE(first.Visible());

    second.onLoad = [this] { second.Hide(); };
    app.Start(second);
    EXPECT_TRUE(second.Loaded());
    EXPECT_FALSE(second.Visible());
}

TEST_F(Controls, AHandlerThatThrowsLeavesNoFlagSetAndAFailingUnloadStillUnloads) {
    first.onLoad = [] { throw std::runtime_error("load failed"); };
    EXPECT_THROW(first.Load(), std::runtime_error);
    EXPECT_TRUE(first.Loaded()) << "what the load did before it failed stands";
    first.Hide();
    EXPECT_FALSE(first.HiddenWhileLoading()) << "the load is over";

    first.onUnload = [] { throw std::runtime_error("unload failed"); };
    EXPECT_NO_THROW(first.Unload());
    EXPECT_FALSE(first.Loaded());
    EXPECT_TRUE(app.Ended()) << "it was the last form";
    first.onLoad = nullptr;
    first.Show();
    EXPECT_EQ(first.unloads, 1);
    EXPECT_NO_THROW(first.Unload()) << "and it unloads again";
    EXPECT_EQ(first.unloads, 2);
}

TEST_F(Controls, ShowAndHideLoadOnceAndTheLastUnloadEndsTheProgram) {
    second.Hide();
    second.Show();
    first.Show();
    EXPECT_EQ(second.loads, 1);
    EXPECT_EQ(app.LoadedForms(), 2);

    first.Unload();
    EXPECT_FALSE(app.Ended());
    second.Unload();
    second.Unload();
    EXPECT_EQ(second.unloads, 1);
    EXPECT_TRUE(app.Ended());
    EXPECT_EQ(peers.quits, 1);
    EXPECT_EQ(peers.PeerOf(second).destroys, 1);
}

TEST_F(Controls, UnloadInsideLoadLeavesNothingLoaded) {
    first.onLoad = [this] { first.Unload(); };
    app.Start(first);
    EXPECT_FALSE(first.Loaded());
    EXPECT_FALSE(first.Visible());
    EXPECT_TRUE(app.Ended());
}

TEST_F(Controls, TimersTickOnlyWhileEnabledAndTheirFormIsLoaded) {
    int ticks = 0;
    first.timer.Tick = [&] { ++ticks; };
    first.timer.Fire();
    EXPECT_EQ(ticks, 0) << "form not loaded";
    first.Load();
    first.timer.Fire();
    first.timer.SetEnabled(false);
    first.timer.Fire();
    EXPECT_EQ(ticks, 1);
    first.timer.SetEnabled(true);
    first.Unload();
    first.timer.Fire();
    EXPECT_EQ(ticks, 1);
}

TEST_F(Controls, OnlyRealChangesOfAWindowlessControlReachThePeer) {
    first.Load();
    fakes::RecordingFormPeer& peer = peers.PeerOf(first);
    first.label.SetCaption(L"x");
    first.label.SetCaption(L"x");
    first.label.SetVisible(true);  // already visible
    EXPECT_EQ(peer.controlChanges, 1);
}

TEST_F(Controls, ResizeEventsComeFromThePlatformOnlyWhileLoaded) {
    first.PlatformResized(100, 100, 90, 90);
    EXPECT_EQ(first.resizes, 0);
    first.Load();
    first.PlatformResized(200, 100, 190, 90);
    EXPECT_EQ(first.resizes, 1);
    EXPECT_FLOAT_EQ(first.ScaleWidth(), 190);
}

}  // namespace
}  // namespace glimra
