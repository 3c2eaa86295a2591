#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

// A configured slide show over fake pictures; each test sets what it needs and starts "/s".
class SlideShow : public ProgramTest {
  protected:
    void Pictures(const std::vector<std::wstring>& names) {
        platform.files.AddFiles(L"C:\\P\\", names);
        for (const std::wstring& name : names)
            platform.pictures.sizes[L"C:\\P\\" + name] = {320, 240};
    }
    void StartShow(const wchar_t* seconds, bool random = false) {
        Configure(L"C:\\P");
        settings().values[keys::kSecondsToDisplay] = seconds;
        settings().values[keys::kDisplayInRandomOrder] = random ? L"1" : L"0";
        Start(L"/s");
        ASSERT_EQ(CurrentMode(), Mode::SlideShow);
    }
    // Ticks once; returns the path loaded by this tick, or "" when none was.
    std::wstring Tick() {
        const size_t before = platform.pictures.loads.size();
        window().timTimer.Fire();
        return platform.pictures.loads.size() > before ? platform.pictures.loads.back() : L"";
    }
    std::wstring Shown() const {
        auto* picture = dynamic_cast<const fakes::FakePicture*>(
            program->lumivue.picHiddenScreenSaver.Picture().get());
        return picture ? picture->Source() : L"";
    }
    std::wstring NumberCaption() { return window().lblImageNumber.Caption(); }
};

TEST_F(SlideShow, ChangesEverySecondsToDisplayTicksAndAtEveryTickBelowTwo) {
    Pictures({L"a.jpg", L"b.jpg"});
    StartShow(L"5");
    std::vector<int> changes;
    for (int tick = 1; tick <= 15; ++tick) {
        if (!Tick().empty()) changes.push_back(tick);
    }
    EXPECT_EQ(changes, (std::vector<int>{5, 10, 15}));

    for (const wchar_t* seconds : {L"1", L"0", L"-3"}) {
        StartShow(seconds);
        for (int tick = 1; tick <= 3; ++tick)
            EXPECT_NE(Tick(), L"") << seconds << " " << tick;
    }
}

TEST_F(SlideShow, ListOrderStartsAtTheSecondPictureAndWraps) {
    Pictures({L"1.jpg", L"2.jpg", L"3.jpg"});
    StartShow(L"1");
    const struct {
        const wchar_t* path;
        const wchar_t* number;
    } expected[] = {{L"C:\\P\\2.jpg", L"Image # 2 of 3"},
                    {L"C:\\P\\3.jpg", L"Image # 3 of 3"},
                    {L"C:\\P\\1.jpg", L"Image # 1 of 3"},
                    {L"C:\\P\\2.jpg", L"Image # 2 of 3"}};
    for (const auto& e : expected) {
        EXPECT_EQ(Tick(), e.path);
        EXPECT_EQ(Shown(), e.path);
        EXPECT_EQ(NumberCaption(), e.number);
        EXPECT_EQ(window().lblImageFileName.Caption(), e.path);
    }
}

TEST_F(SlideShow, OnePictureIsShownAtEveryChange) {
    Pictures({L"only.gif"});
    StartShow(L"1");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Tick(), L"C:\\P\\only.gif");
        EXPECT_EQ(NumberCaption(), L"Image # 1 of 1");
    }
    StartShow(L"1", true);
    platform.random.numbers = {0.99, 0.0, 0.5};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Tick(), L"C:\\P\\only.gif");
}

TEST_F(SlideShow, RandomOrderRedrawsOnceToAvoidThePreviousPosition) {
    Pictures({L"a.jpg", L"b.jpg"});
    // Draws: 1st change 0.1 -> 1; 2nd 0.2 -> 1 again, redrawn 0.7 -> 2;
    // 3rd 0.9 -> 2 again, redrawn 0.6 -> 2 again: the redraw stands.
    platform.random.numbers = {0.1, 0.2, 0.7, 0.9, 0.6, 0.3, 0.8};
    StartShow(L"1", true);
    EXPECT_EQ(Tick(), L"C:\\P\\a.jpg");
    EXPECT_EQ(Tick(), L"C:\\P\\b.jpg");
    EXPECT_EQ(Tick(), L"C:\\P\\b.jpg");
    EXPECT_EQ(NumberCaption(), L"Image # 2 of 2");
    EXPECT_EQ(Tick(), L"C:\\P\\a.jpg") << "0.3 -> 1, differs from 2: no redraw";
    EXPECT_EQ(Tick(), L"C:\\P\\b.jpg") << "0.8 -> 2";
}

TEST_F(SlideShow, AnEmptyListLoadsNothingAndCountsOneOfZero) {
    platform.files.folders[L"C:\\P\\"] = {};
    StartShow(L"1");
    EXPECT_EQ(Tick(), L"");
    EXPECT_EQ(NumberCaption(), L"Image # 1 of 0");
    StartShow(L"1", true);
    EXPECT_EQ(Tick(), L"");
    EXPECT_EQ(NumberCaption(), L"Image # 1 of 0");
    EXPECT_EQ(Shown(), L"<start>") << "the start picture stays";
}

TEST_F(SlideShow, APictureThatCannotBeLoadedKeepsThePreviousOneButNamesTheNewFile) {
    Pictures({L"a.jpg", L"b.jpg", L"c.jpg"});
    platform.pictures.sizes.erase(L"C:\\P\\c.jpg");  // deleted since the list was built
    StartShow(L"1");
    Tick();
    EXPECT_EQ(Shown(), L"C:\\P\\b.jpg");
    Tick();
    EXPECT_EQ(Shown(), L"C:\\P\\b.jpg");
    EXPECT_EQ(NumberCaption(), L"Image # 3 of 3");
    EXPECT_EQ(window().lblImageFileName.Caption(), L"C:\\P\\c.jpg");
    Tick();
    EXPECT_EQ(Shown(), L"C:\\P\\a.jpg") << "the cycle goes on";
}

TEST_F(SlideShow, CaptionVisibilityFollowsTheOptionsAtEveryTick) {
    Pictures({L"a.jpg"});
    settings().values[keys::kDisplayImageFileName] = L"0";
    settings().values[keys::kDisplayImageNumber] = L"x";  // not a number: on
    StartShow(L"5");
    EXPECT_FALSE(window().lblImageNumber.Visible()) << "invisible until the first tick";
    Tick();
    EXPECT_FALSE(window().lblImageFileName.Visible());
    EXPECT_TRUE(window().lblImageNumber.Visible());
    for (int i = 0; i < 4; ++i)
        Tick();
    EXPECT_EQ(window().lblImageFileName.Caption(), L"C:\\P\\a.jpg") << "caption still kept up";
}

TEST_F(SlideShow, TopmostAtEveryTickUnlessSwitchedOff) {
    Pictures({L"a.jpg"});
    StartShow(L"10");
    const int before = windowPeer().topmostCalls;
    Tick();
    Tick();
    EXPECT_EQ(windowPeer().topmostCalls, before + 2) << "AlwaysOnTop missing: on";

    settings().values[keys::kAlwaysOnTop] = L"0";
    StartShow(L"1");
    const int after = windowPeer().topmostCalls;
    Tick();  // a change repaints too, and neither raises the window
    EXPECT_EQ(windowPeer().topmostCalls, after);
}

TEST_F(SlideShow, PointerIsHiddenOnceWhileTheOptionIsOnAndShownAgainAtTheEnd) {
    Pictures({L"a.jpg"});
    StartShow(L"1");
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_EQ(platform.pointer.displayCount, -1) << "one hide request, not one per tick";
    window().PlatformClick();
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::Ended);
    EXPECT_EQ(platform.pointer.displayCount, 0);

    settings().values[keys::kHideMousePointer] = L"2";
    StartShow(L"1");
    const int calls = platform.pointer.calls;
    Tick();
    EXPECT_EQ(platform.pointer.calls, calls) << "option off: the pointer is left alone";
}

TEST_F(SlideShow, FoldersBeyond32767PicturesCycleThroughAllOfThem) {
    std::vector<std::wstring> names;
    for (int i = 1; i <= 32770; ++i)
        names.push_back(std::to_wstring(i) + L".jpg");
    platform.files.AddFiles(L"C:\\P\\", names);
    StartShow(L"1");
    window().intImageIndex = 32766;
    Tick();
    EXPECT_EQ(NumberCaption(), L"Image # 32767 of 32770");
    Tick();
    EXPECT_EQ(NumberCaption(), L"Image # 32768 of 32770");
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(NumberCaption(), L"Image # 1 of 32770");

    platform.random.numbers = {0.99999};
    StartShow(L"1", true);
    Tick();
    EXPECT_EQ(NumberCaption(), L"Image # 32770 of 32770");
}

TEST_F(SlideShow, RestsWhileTheDisplayIsOffAndGoesOnWhereItWas) {
    Pictures({L"1.jpg", L"2.jpg", L"3.jpg"});
    StartShow(L"2");
    Tick();
    EXPECT_EQ(Tick(), L"C:\\P\\2.jpg");
    Tick();  // one of its two seconds
    const int raised = platform.peers.PeerOf(window()).topmostCalls;
    window().PlatformDisplayChanged(false);
    for (int tick = 1; tick <= 3; ++tick)
        EXPECT_EQ(Tick(), L"") << "off, tick " << tick;
    EXPECT_EQ(platform.peers.PeerOf(window()).topmostCalls, raised) << "not raised while off";
    EXPECT_EQ(window().lngElapsedSeconds, 1) << "its seconds stand still";
    window().PlatformDisplayChanged(true);
    EXPECT_EQ(Tick(), L"C:\\P\\3.jpg") << "the rest of its time, then the next in order";

    window().PlatformDisplayChanged(false);
    window().PlatformKeyDown(32, 0);
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::Ended) << "input ends it while the display is off";
}

// A disk that answers only when the test lets it, as a large folder or a sleeping one does.
class HeldLister : public PictureLister {
  public:
    void List(const std::wstring&, Delivery deliver) override { pending = std::move(deliver); }
    void Release(std::vector<std::wstring> list) {
        Delivery deliver = std::move(pending);
        pending = nullptr;
        if (deliver) deliver(std::move(list));
    }
    Delivery pending;
};

TEST_F(SlideShow, TheWindowCoversTheScreenBeforeTheListAndChangesAtTheFirstTickAfterIt) {
    Pictures({L"1.jpg", L"2.jpg", L"3.jpg"});
    Configure(L"C:\\P");
    settings().values[keys::kSecondsToDisplay] = L"2";
    settings().values[keys::kDisplayInRandomOrder] = L"0";
    HeldLister lister;
    const auto startHeld = [&] {
        platform.program.arguments = L"/s";
        program =
            std::make_unique<ScreenSaverProgram>(platform.ports, &platform.peers, nullptr, &lister);
        program->Start();
    };
    startHeld();
    ASSERT_TRUE(window().Visible()) << "up before the folder is listed";
    ASSERT_TRUE(lister.pending);
    EXPECT_FALSE(program->options.Loaded()) << "its load checks the folder: after the list";
    EXPECT_EQ(platform.files.checks, 0);
    const std::wstring greeting = Shown();
    for (int tick = 1; tick <= 3; ++tick)
        EXPECT_EQ(Tick(), L"") << "no list yet, tick " << tick;
    EXPECT_EQ(Shown(), greeting) << "no picture of the folder until the list is there";
    lister.Release({L"C:\\P\\1.jpg", L"C:\\P\\2.jpg", L"C:\\P\\3.jpg"});
    EXPECT_EQ(CurrentMode(), Mode::SlideShow) << "the dialog loaded hidden behind the show";
    EXPECT_EQ(platform.files.checks, 1) << "the folder checked once for the three lists";
    EXPECT_EQ(Tick(), L"C:\\P\\2.jpg") << "the first tick after the list, in list order";
    EXPECT_EQ(NumberCaption(), L"Image # 2 of 3");
    EXPECT_EQ(Tick(), L"");
    EXPECT_EQ(Tick(), L"C:\\P\\3.jpg") << "then every SecondsToDisplay ticks";

    // Input ends a show whose list never comes.
    startHeld();
    window().PlatformKeyDown(32, 0);
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::Ended);
}

}  // namespace
}  // namespace glimra
