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

class ThrowingPointer : public fakes::FakePointer {
  public:
    void ShowCursor(bool show) override {
        if (show) throw std::runtime_error("pointer unavailable");
        FakePointer::ShowCursor(show);
    }
};

// Reads folders until told to fail, then throws as a failing network drive might.
class FailingListing : public fakes::FakeFileSystem {
  public:
    FolderError CheckFolder(const std::wstring& folder) override {
        if (fail) throw std::runtime_error("network error");
        return FakeFileSystem::CheckFolder(folder);
    }
    bool fail = false;
};

TEST_F(Containment, AWindowWhoseUnloadFailsIsUnloadedAndTheProgramEnds) {
    ThrowingPointer pointer;
    const Ports ports{platform.program, platform.settings, platform.files,  platform.pictures,
                      platform.screen,  pointer,           platform.random, platform.messages,
                      platform.shell,   platform.locale};
    Configure();
    settings().values[keys::kHideMousePointer] = L"1";
    platform.program.arguments = L"/s";
    program = std::make_unique<ScreenSaverProgram>(ports, &platform.peers);
    program->Start();
    ASSERT_EQ(CurrentMode(), Mode::SlideShow);
    window().timTimer.Fire();
    ASSERT_EQ(pointer.displayCount, -1) << "the slide show hides the pointer";
    window().PlatformKeyDown(32, 0);
    EXPECT_NO_THROW(window().timCheckScreen.Fire());
    EXPECT_EQ(CurrentMode(), Mode::Ended) << "the pointer could not be shown again";
}

TEST_F(Containment, ASaveCutShortLeavesTheUsersDriveChoiceWorking) {
    FailingListing files;
    files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    files.AddFiles(L"D:\\Photos\\", {L"x.gif"});
    files.driveFolders[L'D'] = L"D:\\Photos";
    const Ports ports{platform.program, platform.settings, files,           platform.pictures,
                      platform.screen,  platform.pointer,  platform.random, platform.messages,
                      platform.shell,   platform.locale};
    platform.program.arguments = L"/c";
    program = std::make_unique<ScreenSaverProgram>(ports, &platform.peers);
    program->Start();
    frmGlimraOptions& dialog = program->options;
    dialog.txtPathLocation.PlatformTextChanged(L"C:\\Pictures");
    files.fail = true;
    EXPECT_THROW(dialog.cmdApply.PlatformClick(), std::runtime_error);
    files.fail = false;
    dialog.cmdBrowse.PlatformClick();
    dialog.DrivePath.PlatformSelect(1);
    EXPECT_EQ(dialog.DirPath.Path(), L"D:\\Photos")
        << "a drive the user chooses moves the folder list";
    EXPECT_EQ(dialog.txtPathLocation.Text(), L"D:\\Photos");
}

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
