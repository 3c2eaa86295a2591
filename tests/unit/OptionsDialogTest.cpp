#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <optional>
#include <tuple>

#include "options/OptionsTexts.h"
#include "settings/PolicyFirstStore.h"
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

// One control as the dialog's design lays it out, before any code of the dialog runs.
struct DesignRow {
    const wchar_t* name;
    const wchar_t* on;       // its container; nullptr: the dialog itself
    const wchar_t* caption;  // caption or text; nullptr: none, or not fixed by the design
    const wchar_t* tip;
    std::optional<Font> font;  // nullopt: the control shows no text
    float left, top, width, height;
    int tabIndex;  // -1: it has no place in the tab order
    bool visible = true;
    Color color = kButtonText;  // a label's text
    Alignment alignment = Alignment::Left;
    const wchar_t* linkIcon = nullptr;  // a link the keyboard reaches: the icon that is part of it
};

const Font kDialogFont{L"Arial", 9.75f, false, false};
const Font kPageFont{L"MS Sans Serif", 8.25f, false, false};
Font Arial(float points, bool bold = false) {
    return {L"Arial", points, bold, false};
}
const std::wstring kBy = std::wstring(L"Glimra ScreenSaver by ") + texts::kAuthor;
const std::wstring kDeveloper = std::wstring(L"Developer, ") + texts::kAuthor;
constexpr Color kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255);
constexpr auto kRight = Alignment::Right;
const std::wstring kSecondsTip = L"Amount of time to display each image";
const std::wstring kHelpTip = L"Click here for Help";

// clang-format off
const DesignRow kDesign[] = {
    {L"tbsOptions", nullptr, nullptr, L"", kDialogFont, 120, 120, 5895, 4245, 0},
    {L"picOptions(0)", nullptr, nullptr, L"", kPageFont, 240, 480, 5685, 3780, 4},
    {L"picOptions(1)", nullptr, nullptr, L"", kPageFont, -20000, 480, 5685, 3780, 7},
    {L"picOptions(2)", nullptr, nullptr, L"", kPageFont, -20000, 480, 5685, 3780, 8},
    {L"picOptions(3)", nullptr, nullptr, L"", kPageFont, -20000, 480, 5685, 3780, 6},
    {L"picOptions(4)", nullptr, nullptr, L"", kDialogFont, -20000, 600, 5655, 3615, 34},
    {L"fraSample1", L"picOptions(0)", L"Choose folder from which images should be displayed", L"", std::nullopt, 120, 120, 5415, 3585, 5},
    {L"fraSample3", L"picOptions(1)", L"Choose screen saver preferences", L"", std::nullopt, 120, 120, 5415, 3510, 10},
    {L"fraSample4", L"picOptions(2)", L"Preview the screen saver", L"", std::nullopt, 120, 120, 5415, 3585, 11},
    {L"fraSample2", L"picOptions(3)", L"", L"", std::nullopt, 120, 60, 5415, 3705, 9},
    {L"fraSample5", L"picOptions(4)", L"Help using this screen saver", L"", std::nullopt, 120, 0, 5415, 3615, 35},
    // Page of tab 1.
    {L"txtPathLocation", L"fraSample1", L"Path from which to display pictures", L"", Arial(9), 120, 360, 3975, 375, 16},
    {L"cmdBrowse", L"fraSample1", L"&Browse", L"Click to browse and find images for the screen saver to display", kDialogFont, 4200, 360, 1095, 375, 18},
    {L"DrivePath", L"fraSample1", nullptr, L"", Arial(9), 120, 840, 2775, 345, 19},
    {L"DirPath", L"fraSample1", nullptr, L"", Arial(9), 120, 1320, 2775, 1620, 21},
    {L"FilePath", L"fraSample1", nullptr, L"", Arial(9), 3000, 1200, 2295, 1665, 23},
    {L"lblImagesToDisplay", L"fraSample1", L"Images that will be displayed", L"", Arial(8.25f, true), 2940, 960, 2415, 255, 33, false, kButtonText, Alignment::Center},
    {L"lblRunFirstTime", L"fraSample1", L"Welcome! Please configure your options now. Choose a path from which to display pictures.", L"", Arial(9.75f, true), 120, 3000, 5175, 495, 28, true, kRed},
    {L"lblNotify", L"fraSample1", L"", L"", Arial(8.25f, true), -20000, 360, 5055, 375, 12, false, kRed},
    // Page of tab 2.
    {L"lblSecondsDisplay", L"fraSample3", L"Display each image for", kSecondsTip.c_str(), Arial(9), 240, 480, 2055, 255, 17},
    {L"txtSecondsToDisplay", L"fraSample3", L"0", kSecondsTip.c_str(), kDialogFont, 2280, 360, 735, 360, 20},
    {L"lblSecondsDisplay2", L"fraSample3", L"seconds", kSecondsTip.c_str(), Arial(9), 3120, 480, 1095, 255, 22},
    {L"chkMousePointer", L"fraSample3", L"&Hide mouse pointer", L"Hide mouse pointer while screen saver running", kDialogFont, 240, 840, 2175, 255, 26},
    {L"chkAlwaysOnTop", L"fraSample3", L"Screen saver always on &top", L"Keep screen saver on top of all other windows and applications", kDialogFont, 240, 1200, 3015, 255, 27},
    {L"chkRandomImages", L"fraSample3", L"Display images in &random order", L"Display images in random order rather than sequentially", kDialogFont, 240, 1560, 3135, 255, 29},
    {L"lblDisplayStats", L"fraSample3", L"Image stats to display in upper left corner", L"", kDialogFont, 240, 2040, 3855, 255, 31},
    {L"chkDisplayImageNumber", L"fraSample3", L"Image &number in sequence of images", L"Display image's number in sequence in upper left screen corner", kDialogFont, 240, 2400, 4215, 255, 30},
    {L"chkImageFileName", L"fraSample3", L"Image &file path && file name", L"Display image's path and file name in upper left screen corner", kDialogFont, 240, 2760, 2895, 255, 32},
    // Page of tab 3.
    {L"imgPreview", L"fraSample4", nullptr, L"", std::nullopt, 120, 360, 3210, 2325, -1},
    {L"cmdPreview", L"fraSample4", L"Previe&w", L"Click to view the screen saver in action", Arial(12, true), 3480, 1320, 1815, 615, 24},
    {L"lblPreview", L"fraSample4", L"When you click the Preview button, all options, preferences, and settings will be applied and the screen saver started. This Options window will close and disappear.", L"", Arial(9), 120, 2760, 5175, 735, 25},
    // Page of tab 4.
    {L"Image1", L"fraSample2", nullptr, kBy.c_str(), std::nullopt, 120, 240, 1680, 1200, -1},
    {L"lblAppTitle", L"fraSample2", L"ProductName", L"Glimra ScreenSaver", Font{L"Comic Sans MS", 15.75f, true, false}, 1800, 150, 3495, 465, 13, true, Rgb(0, 128, 0), kRight},
    {L"lblAppVersion", L"fraSample2", L"Major.Minor.Revison", L"", Arial(9.75f, true), 2280, 600, 3015, 255, 15, true, kButtonText, kRight},
    {L"lblCopyright", L"fraSample2", nullptr, L"", kDialogFont, 2280, 840, 3015, 495, 14, true, kButtonText, kRight},
    {L"Line1", L"fraSample2", nullptr, L"", std::nullopt, 120, 1440, 5300 - 120, 0, -1},
    {L"lblDistribution", L"fraSample2", L"Distribution", L"", Arial(6.75f), 120, 1440, 5175, 2175, 39},
    // Page of tab 5.
    {L"imgMe", L"fraSample5", nullptr, texts::kAuthor, std::nullopt, 120, 360, 1110, 1350, -1},
    {L"lblComments", L"fraSample5", L"Comments", L"", Arial(8.25f), 1320, 360, 3975, 1335, 36},
    {L"lblComments2", L"fraSample5", L"Comments2", L"", Arial(8.25f), 1320, 1680, 3975, 735, 40},
    {L"lblDeveloper", L"fraSample5", kDeveloper.c_str(), L"", Arial(6.75f, true), 120, 1800, 1095, 855, 38},
    {L"imgHelpLink", L"fraSample5", nullptr, kHelpTip.c_str(), std::nullopt, 1320, 2520, 480, 480, -1},
    {L"lblHelpLink", L"fraSample5", L"Glimra ScreenSaver Help", kHelpTip.c_str(), Arial(9.75f, true), 1920, 2520, 3015, 255, 37, true, kBlue, Alignment::Left, L"imgHelpLink"},
    {L"imgDownloadLink", L"fraSample5", nullptr, L"Click here to download latest version of Glimra ScreenSaver", std::nullopt, 1320, 3000, 480, 480, -1},
    {L"lblDownloadLink", L"fraSample5", L"Download Latest Version", L"Click here to download the latest version of Glimra ScreenSaver", Arial(9.75f, true), 1920, 3000, 2535, 255, 41, true, kBlue, Alignment::Left, L"imgDownloadLink"},
    // Below the tab strip.
    {L"cmdOK", nullptr, L"&OK", L"", kDialogFont, 2490, 4455, 1095, 375, 1},
    {L"cmdCancel", nullptr, L"&Cancel", L"", kDialogFont, 3720, 4455, 1095, 375, 2},
    {L"cmdApply", nullptr, L"&Apply", L"", kDialogFont, 4920, 4455, 1095, 375, 3},
};
// clang-format on

std::wstring NameOf(const Container& container) {
    const auto* control = dynamic_cast<const Control*>(&container);
    return control ? control->Name() : L"";
}

// The caption or text of a control that has one.
std::optional<std::wstring> CaptionOf(const Control& control) {
    if (const auto* c = dynamic_cast<const Label*>(&control)) return c->Caption();
    if (const auto* c = dynamic_cast<const TextBox*>(&control)) return c->Text();
    if (const auto* c = dynamic_cast<const CheckBox*>(&control)) return c->Caption();
    if (const auto* c = dynamic_cast<const CommandButton*>(&control)) return c->Caption();
    if (const auto* c = dynamic_cast<const Frame*>(&control)) return c->Caption();
    return std::nullopt;
}

TEST_F(OptionsDialog, EveryControlHasItsDesignValues) {
    program = std::make_unique<ScreenSaverProgram>(platform.ports, &platform.peers);
    const frmGlimraOptions& d = dialog();
    EXPECT_EQ(d.Design().caption, L"Glimra ScreenSaver Options");
    EXPECT_EQ(d.Design().border, BorderStyle::FixedDialog);
    EXPECT_EQ(std::pair(d.Design().width, d.Design().height), std::pair(6150.0f, 4920.0f));
    EXPECT_EQ(d.Design().font, kDialogFont);
    EXPECT_TRUE(d.Design().keyPreview);
    EXPECT_TRUE(d.cmdCancel.Cancel() && !d.cmdOK.Cancel() && !d.cmdApply.Cancel());
    EXPECT_EQ(d.tbsOptions.Tabs(),
              (std::vector<Tab>{{L"&Location of Images", L"Group1", L"",
                                 L"Location of images to display on the hard drive or network"},
                                {L"&Preferences", L"Preferences", L"", L"Screen saver preferences"},
                                {L"Pre&view", L"Preview", L"", L"Preview the screen saver"},
                                {L"A&bout", L"About", L"About", L"About Glimra ScreenSaver"},
                                {L"&Help", L"Help", L"Help", L"Help using the screen saver"}}));

    std::map<std::wstring, const Control*> controls;
    for (const Control* control : d.AllControls())
        controls[control->Name()] = control;
    EXPECT_EQ(controls.size(), std::size(kDesign)) << "the design names every control";
    for (const DesignRow& row : kDesign) {
        SCOPED_TRACE(std::string(row.name, row.name + std::wcslen(row.name)));
        ASSERT_TRUE(controls.count(row.name));
        const Control& control = *controls[row.name];
        EXPECT_EQ(NameOf(control.Parent()), row.on ? row.on : L"");
        if (row.caption) {
            EXPECT_EQ(CaptionOf(control).value_or(L"<none>"), row.caption);
        }
        EXPECT_EQ(control.ToolTipText(), row.tip);
        if (row.font) {
            EXPECT_EQ(control.Font(), *row.font);
        }
        EXPECT_EQ((std::vector{control.Left(), control.Top(), control.Width(), control.Height()}),
                  (std::vector{row.left, row.top, row.width, row.height}));
        if (row.tabIndex >= 0) {
            EXPECT_EQ(control.TabIndex(), row.tabIndex);
        }
        EXPECT_EQ(control.Visible(), row.visible);
        if (const auto* label = dynamic_cast<const Label*>(&control)) {
            EXPECT_EQ(label->ForeColor(), row.color);
            EXPECT_EQ(label->GetAlignment(), row.alignment);
            EXPECT_EQ(label->TabStop(), row.linkIcon != nullptr);
            EXPECT_EQ(label->LinkIcon() ? label->LinkIcon()->Name() : L"",
                      row.linkIcon ? row.linkIcon : L"");
        }
    }
}

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

// Each row is run with the values in the user's own store, and again with those that policy
// may set in the machine's policy: the dialog shows the same, and locks what policy sets.
class StoredValues : public OptionsDialog,
                     public ::testing::WithParamInterface<std::tuple<StoredCase, bool>> {};

TEST_P(StoredValues, FillTheControlsAndBoxesRefuseWhatTheyCannotShow) {
    const auto& [c, byPolicy] = GetParam();
    for (const auto& [key, value] : c.stored) {
        const bool policy = byPolicy && PolicyFirstStore::PolicyCanSet(key);
        (policy ? platform.machinePolicy.values : settings().values)[key] = value;
    }
    Open(L"/S");
    EXPECT_EQ(CheckValues(), c.checks);
    EXPECT_EQ(dialog().txtSecondsToDisplay.Text(), c.seconds);
    EXPECT_EQ(dialog().lblRunFirstTime.Visible(), c.welcome);
    const std::map<std::wstring, const Control*> controls = {
        {L"AlwaysOnTop", &dialog().chkAlwaysOnTop},
        {L"HideMousePointer", &dialog().chkMousePointer},
        {L"DisplayInRandomOrder", &dialog().chkRandomImages},
        {L"DisplayImageFileName", &dialog().chkImageFileName},
        {L"displayImageNumber", &dialog().chkDisplayImageNumber},
        {L"SecondsToDisplay", &dialog().txtSecondsToDisplay}};
    for (const auto& [key, control] : controls) {
        const bool locked = byPolicy && c.stored.count(key);
        EXPECT_EQ(control->Enabled(), !locked) << control->Name();
        EXPECT_EQ(control->ToolTipText() == texts::kSetByAdministrator, locked) << control->Name();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Load, StoredValues,
    ::testing::Combine(
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
                                     true}),
        ::testing::Bool()));

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

TEST_F(OptionsDialog, F1OpensTheHelpPageFromEveryPageAndOnlyWithoutShiftCtrlOrAlt) {
    Open();
    frmGlimraOptions& d = dialog();
    constexpr int kF1 = 112;
    for (int tab = 1; tab <= 5; ++tab) {
        d.tbsOptions.PlatformSelect(tab);
        platform.shell.opened.clear();
        d.PlatformKeyDown(kF1, 0);
        EXPECT_EQ(platform.shell.opened, std::vector<std::wstring>{d.strHelpPagePath}) << tab;
    }
    platform.shell.opened.clear();
    for (int shift : {1, 2, 4})
        d.PlatformKeyDown(kF1, shift);
    d.PlatformKeyDown(113, 0);  // F2
    EXPECT_TRUE(platform.shell.opened.empty());
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
        platform.files.checks = 0;
        Start(start);
        EXPECT_EQ(platform.files.touched, L"D");
        EXPECT_EQ(platform.files.checks, 1) << "one check of the folder for the three lists";
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
    d.cmdBrowse.PlatformClick();
    EXPECT_TRUE(d.DrivePath.Visible() && d.DirPath.Visible() && d.FilePath.Visible() &&
                d.lblImagesToDisplay.Visible());
    const int changes = platform.peers.PeerOf(d).controlChanges;
    d.cmdBrowse.PlatformClick();
    EXPECT_EQ(platform.peers.PeerOf(d).controlChanges, changes)
        << "a second Browse changes nothing";
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
