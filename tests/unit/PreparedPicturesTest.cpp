#include <gtest/gtest.h>

#include "fakes/FakePicturePreparer.h"
#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

// The slide show with its pictures read ahead: what is shown, and when, stays as it is when
// every picture is read inside its tick.
class PreparedPictures : public ProgramTest {
  protected:
    void Pictures(int count) {
        for (int i = 1; i <= count; ++i) {
            const std::wstring name = std::to_wstring(i) + L".jpg";
            platform.files.AddFiles(L"C:\\P\\", {name});
            platform.pictures.sizes[L"C:\\P\\" + name] = {100 + i, 100};
        }
    }
    void StartShow(bool random, bool prepared) {
        Configure(L"C:\\P");
        settings().values[keys::kSecondsToDisplay] = L"1";
        settings().values[keys::kDisplayInRandomOrder] = random ? L"1" : L"0";
        platform.random.next = 0;
        platform.program.arguments = L"/s";
        program = std::make_unique<ScreenSaverProgram>(platform.ports, &platform.peers,
                                                       prepared ? &preparer : nullptr);
        program->Start();
        ASSERT_EQ(CurrentMode(), Mode::SlideShow);
    }
    std::wstring Shown() {
        auto* picture =
            dynamic_cast<const fakes::FakePicture*>(window().picHiddenScreenSaver.Picture().get());
        return picture ? picture->Source() : L"";
    }
    // Caption, file-name caption and picture shown after each of `ticks` ticks.
    std::vector<std::wstring> Run(int ticks) {
        std::vector<std::wstring> seen;
        for (int i = 0; i < ticks; ++i) {
            window().timTimer.Fire();
            seen.push_back(window().lblImageNumber.Caption() + L" | " +
                           window().lblImageFileName.Caption() + L" | " + Shown());
        }
        return seen;
    }

    fakes::FakePicturePreparer preparer{platform.pictures};
};

struct OrderCase {
    const char* name;
    int pictures;
    bool random;
    std::vector<double> numbers;
    std::vector<int> positions;  // shown by the first ten changes
};

class SameSequence : public PreparedPictures, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(SameSequence, ReadingAheadShowsWhatReadingAtTheTickShows) {
    const OrderCase& c = GetParam();
    Pictures(c.pictures);
    platform.random.numbers = c.numbers;
    StartShow(c.random, false);
    const std::vector<std::wstring> atTheTick = Run(10);
    for (size_t i = 0; i < c.positions.size(); ++i) {
        EXPECT_EQ(atTheTick[i].substr(0, atTheTick[i].find(L" of")),
                  L"Image # " + std::to_wstring(c.positions[i]))
            << "change " << i + 1;
    }

    StartShow(c.random, true);
    std::vector<std::wstring> expectedTakes;
    for (int i = 0; i < 10; ++i) {
        ASSERT_FALSE(preparer.prepared.empty());
        expectedTakes.push_back(preparer.prepared.back());  // prepared before its tick
        Run(1);
    }
    EXPECT_EQ(preparer.taken, expectedTakes) << "each change takes the picture prepared for it";
    StartShow(c.random, true);
    EXPECT_EQ(Run(10), atTheTick);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, SameSequence,
    ::testing::Values(OrderCase{"ListOrder", 3, false, {}, {2, 3, 1, 2, 3, 1, 2, 3, 1, 2}},
                      OrderCase{"OnePicture", 1, true, {0.5}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
                      // 0.1 -> 1; 0.15 -> 1 again, redrawn 0.9 -> 4; 0.8 -> 4 again, redrawn
                      // 0.85 -> 4, which stands; 0.3 -> 2; 0.3 -> 2 again, redrawn 0.6 -> 3; ...
                      OrderCase{"RandomWithRedraws",
                                4,
                                true,
                                {0.1, 0.15, 0.9, 0.8, 0.85, 0.3, 0.3, 0.6, 0.0, 0.99, 0.99, 0.5,
                                 0.26, 0.74, 0.2},
                                {1, 4, 4, 2, 3, 1, 4, 3, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreparedPictures, APictureNotReadyAtItsTickAppearsWhenItArrivesAndInputStillCounts) {
    Pictures(3);
    StartShow(false, true);
    preparer.late = true;
    Run(1);
    EXPECT_EQ(window().lblImageNumber.Caption(), L"Image # 2 of 3") << "the captions change";
    EXPECT_EQ(Shown(), L"<start>") << "the previous picture stays meanwhile";
    ASSERT_TRUE(preparer.DeliverHeld());
    EXPECT_EQ(Shown(), L"C:\\P\\2.jpg");
    ASSERT_EQ(window().Surface().size(), 1u);
    EXPECT_EQ(window().Surface()[0].picture, window().picHiddenScreenSaver.Picture())
        << "painted on arrival";

    Run(1);  // 3.jpg is still being read when a key comes
    window().PlatformKeyDown(32, 0);
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::Ended);
    EXPECT_TRUE(preparer.DeliverHeld());
    EXPECT_NE(Shown(), L"C:\\P\\3.jpg") << "nothing is shown after the end";
}

TEST_F(PreparedPictures, APictureThatFailsLateKeepsThePreviousOne) {
    Pictures(3);
    StartShow(false, true);
    Run(1);
    platform.pictures.sizes.erase(L"C:\\P\\3.jpg");  // gone before it was read
    preparer.late = true;
    Run(1);
    ASSERT_TRUE(preparer.DeliverHeld());
    EXPECT_EQ(Shown(), L"C:\\P\\2.jpg");
    EXPECT_EQ(window().lblImageFileName.Caption(), L"C:\\P\\3.jpg");
}

TEST_F(PreparedPictures, NothingIsPreparedBehindTheOptionsDialog) {
    Pictures(3);
    Configure(L"C:\\P");
    program = std::make_unique<ScreenSaverProgram>(platform.ports, &platform.peers, &preparer);
    platform.program.arguments = L"/c";
    program->Start();
    ASSERT_EQ(CurrentMode(), Mode::OptionsDialog);
    EXPECT_TRUE(preparer.prepared.empty());
}

}  // namespace
}  // namespace glimra
