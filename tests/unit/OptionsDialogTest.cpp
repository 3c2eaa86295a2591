#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

// The options dialog over a fake machine with three drives: C: holds the pictures, D: is a
// second disk, E: a drive with no medium.
class OptionsDialog : public ProgramTest {
  protected:
    void SetUp() override {
        auto& files = platform.files;
        files.AddFiles(L"C:\\Pictures\\", {L"b.JPG", L"a.bmp", L"notes.txt", L"c.png", L"d.emf"});
        files.AddFolder(L"C:\\Pictures\\Trips\\");
        files.AddFolder(L"C:\\Windows\\");
        files.AddFiles(L"D:\\Photos\\", {L"x.gif"});
        files.drives = {{L'C', L"System"}, {L'D', L"Data"}, {L'E', L""}};
        files.driveFolders[L'D'] = L"D:\\Photos";
        files.unavailable = L"E";
        files.currentFolder = L"C:\\Windows";
    }
    void Open(const wchar_t* arguments = L"/c") { Start(arguments); }
    frmGlimraOptions& dialog() { return program->options; }
    std::vector<int> CheckValues() {
        frmGlimraOptions& d = dialog();
        return {d.chkAlwaysOnTop.Value(), d.chkMousePointer.Value(), d.chkRandomImages.Value(),
                d.chkImageFileName.Value(), d.chkDisplayImageNumber.Value()};
    }
    // Which page is in view: the index of the one page at left 210 and enabled, -1 otherwise.
    int PageInView() {
        int found = -1;
        for (int i = 0; i < 5; ++i) {
            const PictureBox& page = dialog().picOptions[static_cast<size_t>(i)];
            const bool inView = page.Left() == 210 && page.Enabled();
            const bool outOfView = page.Left() == -20000 && !page.Enabled();
            if (!inView && !outOfView) return -2;
            if (inView) found = found == -1 ? i : -2;
        }
        return found;
    }
};

TEST_F(OptionsDialog, LoadsTheDefaultsWhenNothingIsStored) {
    Open();
    frmGlimraOptions& d = dialog();
    EXPECT_TRUE(d.Visible());
    EXPECT_EQ(d.txtPathLocation.Text(), L"");
    EXPECT_EQ(d.txtSecondsToDisplay.Text(), L"5");
    EXPECT_EQ(CheckValues(), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_TRUE(d.lblRunFirstTime.Visible());
    EXPECT_EQ(d.lblRunFirstTime.Caption(),
              L"Welcome! Please configure your options now. Choose a path from which to display "
              L"pictures.");
    EXPECT_FALSE(d.DrivePath.Visible() || d.DirPath.Visible() || d.FilePath.Visible());
    EXPECT_FALSE(d.lblImagesToDisplay.Visible());
    EXPECT_EQ(d.lblAppVersion.Caption(), L"Version 1.0.203");
    EXPECT_EQ(d.lblAppTitle.Caption(), L"Glimra ScreenSaver");
    EXPECT_EQ(d.lblComments.Caption(), L"A free screen saver.");
    EXPECT_EQ(d.strHelpPagePath, L"C:\\Program Files\\Glimra\\help\\glimrascreensaver.htm");
    EXPECT_EQ(d.FilePath.Pattern(), L"*.bmp; *.jpg; *.gif; *.jpeg; *.wmf; *.emf; *.ico");
    EXPECT_EQ(d.DirPath.Path(), L"C:\\Windows") << "an empty folder leaves the lists alone";
    EXPECT_EQ(PageInView(), 0);
    EXPECT_EQ(d.Left(), (800 * 15 - d.Width()) / 2);
}

struct StoredCase {
    std::map<std::wstring, std::wstring> stored;
    std::vector<int> checks;  // AlwaysOnTop, HideMousePointer, Random, FileName, Number
    const wchar_t* seconds;
    bool welcome;
};

class StoredValues : public OptionsDialog, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredValues, FillTheControlsAndBoxesRefuseWhatTheyCannotShow) {
    for (const auto& [key, value] : GetParam().stored)
        settings().values[key] = value;
    Open(L"/S");
    EXPECT_EQ(CheckValues(), GetParam().checks);
    EXPECT_EQ(dialog().txtSecondsToDisplay.Text(), GetParam().seconds);
    EXPECT_EQ(dialog().lblRunFirstTime.Visible(), GetParam().welcome);
}

INSTANTIATE_TEST_SUITE_P(
    Load, StoredValues,
    ::testing::Values(StoredCase{{{L"AlwaysOnTop", L"0"},
                                  {L"HideMousePointer", L"1"},
                                  {L"DisplayInRandomOrder", L"0"},
                                  {L"DisplayImageFileName", L"1"},
                                  {L"displayImageNumber", L"0"},
                                  {L"SecondsToDisplay", L"12"},
                                  {L"Initialized", L"True"}},
                                 {0, 1, 0, 1, 0},
                                 L"12",
                                 false},
                      StoredCase{{{L"AlwaysOnTop", L"True"},
                                  {L"HideMousePointer", L"2"},
                                  {L"SecondsToDisplay", L"0"}},
                                 {0, 2, 1, 1, 1},
                                 L"0",
                                 true},
                      StoredCase{{{L"DisplayInRandomOrder", L"7"}, {L"Initialized", L"false"}},
                                 {1, 1, 0, 1, 1},
                                 L"5",
                                 false},
                      StoredCase{{{L"Initialized", L"False"}, {L"SecondsToDisplay", L"abc"}},
                                 {1, 1, 1, 1, 1},
                                 L"abc",
                                 true}));

TEST_F(OptionsDialog, TabsBringTheirPageIntoViewAndCtrlTabMovesOnAndWraps) {
    Open();
    frmGlimraOptions& d = dialog();
    for (int tab : {4, 2, 5, 1, 3}) {
        d.tbsOptions.PlatformSelect(tab);
        EXPECT_EQ(PageInView(), tab - 1);
    }
    const std::vector<int> expected = {4, 5, 1, 2, 3};
    for (int expectedTab : expected) {
        d.PlatformKeyDown(9, 2);
        EXPECT_EQ(d.tbsOptions.SelectedItem(), expectedTab);
        EXPECT_EQ(PageInView(), expectedTab - 1);
    }
    // Tab alone, with Shift, with Ctrl+Shift, with Alt, and Ctrl with another key are not
    // for the key preview.
    for (auto [key, shift] : {std::pair{9, 0}, {9, 1}, {9, 3}, {9, 4}, {9, 6}, {65, 2}}) {
        d.PlatformKeyDown(key, shift);
        EXPECT_EQ(d.tbsOptions.SelectedItem(), 3) << key << " " << shift;
    }
    EXPECT_FALSE(d.cmdBrowse.EffectiveEnabled()) << "controls of pages out of view are off";
    EXPECT_TRUE(d.cmdPreview.EffectiveEnabled());
}

TEST_F(OptionsDialog, TheStoredFolderReachesTheListsAndItsDriveRunsTheDriveChange) {
    settings().values[keys::kPath] = L"D:\\Photos\\";
    Open(L"/S");
    frmGlimraOptions& d = dialog();
    EXPECT_EQ(d.DirPath.Path(), L"D:\\Photos");
    EXPECT_EQ(d.FilePath.Path(), L"D:\\Photos");
    EXPECT_EQ(d.DrivePath.Drive(), L"d: [Data]");
    EXPECT_EQ(d.DrivePath.ToolTipText(), L"d: [Data]") << "the drive change ran";
    EXPECT_EQ(d.txtPathLocation.Text(), L"D:\\Photos") << "the folder change rewrote it";
    EXPECT_EQ(d.FilePath.Files(), std::vector<std::wstring>{L"x.gif"});
    EXPECT_EQ(d.lblRunFirstTime.Caption(), L"") << "the folder change cleared the hint";
}

// Every start loads the dialog. Until a list is shown or read, a start reads the picture
// folder once, for the picture list, and asks nothing of any other drive: a drive without its
// medium, a sleeping disk or a share that has gone away would keep the screen uncovered.
TEST_F(OptionsDialog, AStartReadsOnlyThePictureFolderAndItsDrive) {
    platform.files.drives.push_back({L'Z', L"\\\\server\\photos"});
    for (const wchar_t* start : {L"/s", L"/c"}) {
        SCOPED_TRACE(testing::Message() << start);
        Configure(L"D:\\Photos");
        platform.files.enumerations = 0;
        platform.files.labelReads.clear();
        platform.files.touched.clear();
        Start(start);
        EXPECT_EQ(platform.files.touched, L"D");
        EXPECT_EQ(platform.files.labelReads, (std::map<wchar_t, int>{{L'D', 1}}))
            << "the drive's tip names it";
        EXPECT_EQ(platform.files.enumerations, 1) << "the picture list's one listing";

        frmGlimraOptions& d = dialog();
        EXPECT_EQ(d.FilePath.Files(), std::vector<std::wstring>{L"x.gif"});
        EXPECT_EQ(d.FilePath.ListCount(), 1);
        EXPECT_EQ(platform.files.enumerations, 2) << "the file list, read once when it is read";
        EXPECT_EQ(d.DrivePath.List(),
                  (std::vector<std::wstring>{L"c: [System]", L"d: [Data]", L"e:",
                                             L"z: [\\\\server\\photos]"}));
        EXPECT_EQ(platform.files.labelReads.size(), 4u);
        EXPECT_EQ(platform.files.labelReads[L'D'], 1) << "each label is asked for once a load";
        program.reset();
    }
}

TEST_F(OptionsDialog, AStoredFolderThatDoesNotExistLeavesTheListsWhereTheyWere) {
    settings().values[keys::kPath] = L"D:\\Gone";
    Open(L"/S");
    frmGlimraOptions& d = dialog();
    EXPECT_EQ(d.txtPathLocation.Text(), L"D:\\Gone");
    EXPECT_EQ(d.DirPath.Path(), L"C:\\Windows");
    EXPECT_EQ(d.FilePath.Path(), L"C:\\Windows");
    EXPECT_EQ(d.DrivePath.Drive(), L"d: [Data]") << "the drive itself exists";
    EXPECT_TRUE(platform.messages.shown.empty());
}

TEST_F(OptionsDialog, ChoosingADriveMovesTheListsOrSaysTheDeviceIsUnavailable) {
    settings().values[keys::kPath] = L"C:\\Pictures";
    Open(L"/S");
    frmGlimraOptions& d = dialog();
    d.cmdBrowse_Click();
    d.DrivePath.PlatformSelect(2);  // e:, no medium
    ASSERT_EQ(platform.messages.shown.size(), 1u);
    EXPECT_EQ(platform.messages.shown[0].caption, L"Glimra ScreenSaver");
    EXPECT_EQ(platform.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(platform.messages.shown[0].text.substr(0, 31), L"Unable to access drive or disk.");
    EXPECT_EQ(d.DrivePath.Drive(), L"e:");
    EXPECT_EQ(d.DrivePath.ToolTipText(), L"e:");
    EXPECT_EQ(d.DirPath.Path(), L"C:\\Pictures");
    EXPECT_EQ(d.FilePath.Path(), L"C:\\Pictures");
    EXPECT_EQ(d.txtPathLocation.Text(), L"C:\\Pictures");

    d.DrivePath.PlatformSelect(1);  // d:, whose current folder is D:\Photos
    EXPECT_EQ(platform.messages.shown.size(), 1u);
    EXPECT_EQ(d.DirPath.Path(), L"D:\\Photos");
    EXPECT_EQ(d.txtPathLocation.Text(), L"D:\\Photos");
    EXPECT_EQ(d.FilePath.Files(), std::vector<std::wstring>{L"x.gif"});
}

TEST_F(OptionsDialog, FolderAndFileListClicksGiveHintsAndDoubleClicksChooseTheFolder) {
    settings().values[keys::kPath] = L"C:\\";
    Open();
    frmGlimraOptions& d = dialog();
    d.cmdBrowse_Click();
    d.cmdBrowse_Click();
    EXPECT_TRUE(d.DrivePath.Visible() && d.DirPath.Visible() && d.FilePath.Visible() &&
                d.lblImagesToDisplay.Visible());
    const auto& entries = d.DirPath.Entries();
    ASSERT_EQ(entries.size(), 3u);  // c:\, Pictures, Windows
    EXPECT_EQ(entries[1].text, L"Pictures");

    d.DirPath.PlatformClick(1);
    EXPECT_EQ(d.lblRunFirstTime.Caption(),
              L"Double click to select a folder from which images will be displayed");
    EXPECT_EQ(d.txtPathLocation.Text(), L"C:\\");

    d.DirPath.PlatformDblClick(1);
    EXPECT_EQ(d.txtPathLocation.Text(), L"C:\\Pictures");
    EXPECT_EQ(d.txtPathLocation.ToolTipText(), L"C:\\Pictures");
    EXPECT_EQ(d.DirPath.ToolTipText(), L"C:\\Pictures");
    EXPECT_EQ(d.FilePath.Files(), (std::vector<std::wstring>{L"a.bmp", L"b.JPG", L"d.emf"}));
    EXPECT_EQ(d.FilePath.Pattern(), L"*.bmp;*.jpg;*.gif;*.jpeg;*.wmf;*.emf;*.ico");
    EXPECT_EQ(d.FilePath.ToolTipText(), L"All images listed will be displayed");
    EXPECT_EQ(d.lblRunFirstTime.Caption(), L"");

    d.FilePath.PlatformClick(0);
    EXPECT_EQ(d.lblRunFirstTime.Caption(), L"All images listed will be displayed");
    d.txtPathLocation.PlatformTextChanged(L"typed");
    d.FilePath.PlatformDblClick(0);
    EXPECT_EQ(d.txtPathLocation.Text(), L"C:\\Pictures");
    EXPECT_EQ(d.FilePath.ToolTipText(), L"C:\\Pictures");

    d.fraSample1.PlatformMouseMove(0, 0, 10, 10);
    EXPECT_EQ(d.lblRunFirstTime.Caption(), L"");
    EXPECT_TRUE(d.lblRunFirstTime.Visible());
}

TEST_F(OptionsDialog, AFolderThatVanishesLeavesTheListsOnTheLastOneRead) {
    settings().values[keys::kPath] = L"C:\\Pictures";
    Open();
    frmGlimraOptions& d = dialog();
    platform.files.folders.erase(L"C:\\Pictures\\Trips\\");
    d.DirPath.PlatformDblClick(2);  // Trips, gone
    EXPECT_EQ(d.DirPath.Path(), L"C:\\Pictures");
    platform.files.unavailable = L"C";  // the whole disk goes
    d.DirPath.PlatformDblClick(0);
    EXPECT_EQ(d.DirPath.Path(), L"C:\\Pictures");
    EXPECT_EQ(d.FilePath.ListCount(), 3);
}

TEST_F(OptionsDialog, ASecondLoadStartsFromTheDesign) {
    Configure(L"C:\\Pictures");
    Start(L"/s");
    frmGlimraOptions& d = dialog();
    EXPECT_FALSE(d.Visible()) << "loaded hidden for the slide show";
    EXPECT_EQ(d.txtPathLocation.Text(), L"C:\\Pictures");
    EXPECT_EQ(d.FilePath.ListCount(), 3);
    d.tbsOptions.PlatformSelect(4);
    d.cmdBrowse_Click();
    d.Unload();
    EXPECT_EQ(d.tbsOptions.SelectedItem(), 1);
    EXPECT_EQ(d.txtPathLocation.Text(), L"Path from which to display pictures");
    EXPECT_EQ(d.lblAppVersion.Caption(), L"Major.Minor.Revison");
    settings().values[keys::kPath] = L"D:\\Photos";
    d.Show();
    EXPECT_EQ(PageInView(), 0);
    EXPECT_FALSE(d.DirPath.Visible());
    EXPECT_EQ(d.txtPathLocation.Text(), L"D:\\Photos");
}

}  // namespace
}  // namespace glimra
