#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

using Writes = std::vector<std::wstring>;

struct ModeCase {
    const wchar_t* arguments;
    bool configured;
    Mode mode;
    Writes forcedWrites;  // every value stored as "OptionsDialogForced", in order
};

void PrintTo(const ModeCase& c, std::ostream* out) {
    std::wstring arguments = c.arguments;
    *out << '"' << std::string(arguments.begin(), arguments.end()) << '"'
         << (c.configured ? " configured" : " fresh");
}

class ModeTable : public ProgramTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeTable, ChoosesTheModeAndStoresTheForcedFlag) {
    const ModeCase& c = GetParam();
    if (c.configured) Configure();
    Start(c.arguments);
    EXPECT_EQ(ModeName(CurrentMode()), std::string(ModeName(c.mode)));
    EXPECT_EQ(settings().WritesOf(keys::kOptionsDialogForced), c.forcedWrites);
    EXPECT_EQ(settings().values[keys::kShowSplashScreen], L"1") << "every start is counted";
    if (c.mode == Mode::Ended) {
        EXPECT_EQ(platform.peers.quits, 1);
    }
}

const Writes kTrue = {L"True"}, kFalse = {L"False"};
INSTANTIATE_TEST_SUITE_P(
    Startup, ModeTable,
    ::testing::Values(
        ModeCase{L"/s", true, Mode::SlideShow, kFalse},
        ModeCase{L"/s", false, Mode::OptionsDialog, kTrue},
        ModeCase{L"/S", true, Mode::OptionsDialog, {L"False", L"False"}},
        ModeCase{L"/S", false, Mode::OptionsDialog, kFalse},
        ModeCase{L"/c:1234", true, Mode::OptionsDialog, {L"False", L"False"}},
        ModeCase{L"/c:1234", false, Mode::OptionsDialog, {L"True", L"False"}},
        ModeCase{L"/c", true, Mode::OptionsDialog, kFalse},
        ModeCase{L"/c", false, Mode::OptionsDialog, kTrue},
        ModeCase{L"/cx", true, Mode::OptionsDialog, kFalse},
        ModeCase{L"/cx", false, Mode::OptionsDialog, kTrue},
        ModeCase{L"/p 1234", true, Mode::Ended, kFalse},
        ModeCase{L"/p 1234", false, Mode::OptionsDialog, kTrue},
        ModeCase{L"/a", true, Mode::Ended, kFalse}, ModeCase{L"/C", true, Mode::Ended, kFalse},
        ModeCase{L"/C", false, Mode::OptionsDialog, kTrue},
        ModeCase{L"", true, Mode::Ended, kFalse}, ModeCase{L"", false, Mode::OptionsDialog, kTrue},
        ModeCase{L"/", true, Mode::Ended, kFalse}, ModeCase{L"s", true, Mode::Ended, kFalse}));

using Startup = ProgramTest;

TEST_F(Startup, ConfiguredNeedsBothAFolderAndAnyInitializedText) {
    settings().values[keys::kPath] = L"C:\\P";
    Start(L"/s");
    EXPECT_EQ(CurrentMode(), Mode::OptionsDialog) << "Path without Initialized";

    settings().values.clear();
    settings().values[keys::kInitialized] = L"True";
    Start(L"/s");
    EXPECT_EQ(CurrentMode(), Mode::OptionsDialog) << "Initialized without Path";

    settings().values.clear();
    settings().values[keys::kPath] = L"C:\\P";
    settings().values[keys::kInitialized] = L"False";
    Start(L"/s");
    EXPECT_EQ(CurrentMode(), Mode::SlideShow) << "any non-empty Initialized counts";
}

TEST_F(Startup, SecondInstanceEndsWithoutTouchingTheStore) {
    Configure();
    platform.program.anotherInstance = true;
    settings().reads = 0;
    Start(L"/s");
    EXPECT_EQ(CurrentMode(), Mode::Ended);
    EXPECT_EQ(settings().reads, 0);
    EXPECT_TRUE(settings().writes.empty());
    EXPECT_FALSE(program->options.Loaded()) << "nothing shown";
}

TEST_F(Startup, StartCountGrowsRestartsFromTextThatIsNoNumberAndStopsAtTheTop) {
    const struct {
        const wchar_t* stored;
        const wchar_t* written;
    } cases[] = {{L"", L"1"},
                 {L"4", L"5"},
                 {L"abc", L"1"},
                 {L"-3", L"-2"},
                 {L"2147483646", L"2147483647"},
                 {L"2147483647", L"2147483647"},
                 {L"99999999999", L"1"}};
    for (const auto& c : cases) {
        Configure();
        settings().values[keys::kShowSplashScreen] = c.stored;
        Start(L"/p 1");
        EXPECT_EQ(settings().values[keys::kShowSplashScreen], c.written) << c.stored;
    }
}

TEST_F(Startup, StartPictureForFiveStartsThenTheBlankPicture) {
    Configure();
    settings().values[keys::kShowSplashScreen] = L"4";
    Start(L"/s");
    EXPECT_EQ(window().picHiddenScreenSaver.Picture(), platform.pictures.start) << "5th start";

    settings().values[keys::kShowSplashScreen] = L"5";
    Start(L"/s");
    EXPECT_EQ(window().picHiddenScreenSaver.Picture(), platform.pictures.blank) << "6th start";
}

TEST_F(Startup, SettingsAreReadWithTheirRules) {
    Configure();
    settings().values[keys::kSecondsToDisplay] = L"abc";
    settings().values[keys::kHideMousePointer] = L"0";
    settings().values[keys::kDisplayInRandomOrder] = L"2";
    Start(L"/s");
    EXPECT_EQ(window().lngSecondsToDisplay, 0) << "not a number: stays at 0";
    EXPECT_EQ(window().strHideMousePointer, L"0");
    EXPECT_EQ(window().strDisplayInRandomOrder, L"2");
    EXPECT_EQ(window().strDisplayImageFileName, L"1") << "missing options read as on";
    EXPECT_EQ(window().strDisplayImageNumber, L"1");
    EXPECT_EQ(window().strAlwaysOnTop, L"") << "taken from the store as it is";

    settings().values[keys::kSecondsToDisplay] = L"12";
    settings().values[keys::kAlwaysOnTop] = L"0";
    window().InitializeScreenSaver();
    window().StartScreenSaverSettings();
    EXPECT_EQ(window().lngSecondsToDisplay, 12);
    EXPECT_EQ(window().strAlwaysOnTop, L"0");

    settings().values[keys::kSecondsToDisplay] = L"";
    window().InitializeScreenSaver();
    EXPECT_EQ(window().lngSecondsToDisplay, 12) << "empty text keeps the previous value";
}

TEST_F(Startup, PictureFolderAlwaysEndsInABackslash) {
    const struct {
        const wchar_t* path;
        const wchar_t* folder;
    } cases[] = {{L"C:\\Pictures", L"C:\\Pictures\\"},
                 {L"C:\\Pictures\\", L"C:\\Pictures\\"},
                 {L"C:", L"C:\\"},
                 {L"D:", L"D:\\"}};
    for (const auto& c : cases) {
        Configure(c.path);
        Start(L"/s");
        EXPECT_EQ(window().strImageFolder, c.folder);
    }
    settings().values.clear();
    Start(L"/c");
    EXPECT_EQ(window().strImageFolder, L"\\") << "no folder stored";
}

TEST_F(Startup, EveryPreparationRebuildsThePictureList) {
    Configure(L"C:\\P");
    platform.files.AddFiles(L"C:\\P\\", {L"a.jpg", L"b.gif"});
    Start(L"/S");
    EXPECT_EQ(window().lngImageCount, 2);
    EXPECT_EQ(window().strImages[1], L"C:\\P\\b.gif");

    platform.files.folders[L"C:\\P\\"] = {{L"c.bmp"}};
    window().StartScreenSaverSettings();
    EXPECT_EQ(window().lngImageCount, 1);
    EXPECT_EQ(window().strImages, std::vector<std::wstring>{L"C:\\P\\c.bmp"});
}

TEST_F(Startup, OptionsDialogIsCentredAndItsCloseBoxEndsTheProgram) {
    Start(L"/c");
    const frmGlimraOptions& dialog = program->options;
    EXPECT_FLOAT_EQ(dialog.Left(), (800 * 15 - 6150) / 2.0f);
    EXPECT_FLOAT_EQ(dialog.Top(), (600 * 15 - 4920) / 2.0f);

    program->options.PlatformClose();
    EXPECT_EQ(CurrentMode(), Mode::Ended);
    EXPECT_EQ(platform.peers.quits, 1);
}

TEST_F(Startup, SlideShowLoadsTheDialogHiddenAndEndingUnloadsBoth) {
    Configure();
    Start(L"/s");
    EXPECT_TRUE(program->options.Loaded());
    EXPECT_FALSE(program->options.Visible());
    EXPECT_EQ(window().GetWindowState(), WindowState::Maximized);

    window().PlatformClose();  // the system asks the window to close
    EXPECT_EQ(CurrentMode(), Mode::Ended);
}

}  // namespace
}  // namespace glimra
