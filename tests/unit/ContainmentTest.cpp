#include <gtest/gtest.h>

#include <stdexcept>

#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

// A start-up that fails part-way stops like any handler and leaves no window running unseen.
class Containment : public ProgramTest {};

class ThrowingFileSystem : public fakes::FakeFileSystem {
  public:
    std::vector<std::vector<std::wstring>> FilesMatching(
        const std::wstring&, const std::vector<std::wstring>&) override {
        throw std::runtime_error("device unavailable");
    }
};

class ThrowingSettings : public fakes::FakeSettingsStore {
  public:
    std::wstring Read(const std::wstring& key) override {
        if (key == failing) throw std::runtime_error("store unavailable");
        return FakeSettingsStore::Read(key);
    }
    std::wstring failing;
};

TEST_F(Containment, AFailingFolderListingStillStartsTheSlideShow) {
    ThrowingFileSystem files;
    const Ports ports{platform.program, platform.settings, files,           platform.pictures,
                      platform.screen,  platform.pointer,  platform.random, platform.messages,
                      platform.shell,   platform.locale};
    Configure();
    platform.program.arguments = L"/s";
    program = std::make_unique<ScreenSaverProgram>(ports, &platform.peers);
    ASSERT_NO_THROW(program->Start());
    EXPECT_EQ(CurrentMode(), Mode::SlideShow);
    window().PlatformClick();
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::Ended) << "and it ends on input";
}

TEST_F(Containment, ALoadThatFailsAtItsFirstStepStillShowsTheWindow) {
    ThrowingSettings settings;
    settings.failing = keys::kInitialized;
    const Ports ports{platform.program, settings,         platform.files,  platform.pictures,
                      platform.screen,  platform.pointer, platform.random, platform.messages,
                      platform.shell,   platform.locale};
    platform.program.arguments = L"/s";
    program = std::make_unique<ScreenSaverProgram>(ports, &platform.peers);
    ASSERT_NO_THROW(program->Start());
    EXPECT_TRUE(window().Visible()) << "a window the user can see, and end";
    window().PlatformKeyDown(32, 0);
    window().timCheckScreen.Fire();
    EXPECT_EQ(CurrentMode(), Mode::Ended);
}

}  // namespace
}  // namespace glimra
