#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace glimra {
namespace {

constexpr const wchar_t* kChooseFolder = L"Please select the Location of Files tab";
constexpr const wchar_t* kEnterSeconds = L"Please select the Preferences tab";
constexpr const wchar_t* kNoPictures = L"There are no pictures in the selected folder";
constexpr const wchar_t* kNoMedium = L"Unable to access drive or disk.";

enum class Button { OK, Apply, Preview };
enum class After { Open, SlideShow, Ended };

struct ButtonCase {
    Button button;
    const wchar_t* folder;                 // typed into the folder box
    const wchar_t* seconds;                // typed into the seconds box
    const wchar_t* forced;                 // stored "OptionsDialogForced", nullptr for none
    MessageAnswer answer;                  // to the no-pictures question
    std::vector<const wchar_t*> messages;  // the start of each message shown, in order
    const wchar_t* storedSeconds;          // nullptr: nothing stored
    After after;
    size_t stores = 1;  // how often the options are stored, when they are
};

void PrintTo(const ButtonCase& c, std::ostream* out) {
    const char* names[] = {"OK", "Apply", "Preview"};
    auto narrow = [](const wchar_t* text) {
        std::wstring w = text ? text : L"<none>";
        return std::string(w.begin(), w.end());
    };
    *out << names[static_cast<int>(c.button)] << " folder=" << narrow(c.folder)
         << " seconds=" << narrow(c.seconds) << " forced=" << narrow(c.forced);
}

class Buttons : public ProgramTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(Buttons, ValidateStoreAndHandOverOrEnd) {
    const ButtonCase& c = GetParam();
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    platform.files.AddFiles(L"C:\\Empty\\", {L"notes.txt"});
    platform.files.currentFolder = L"C:\\Pictures";
    platform.files.drives = {{L'C', L""}, {L'E', L""}};
    platform.files.unavailable = L"E";  // no medium
    Start(L"/c:1");
    frmGlimraOptions& dialog = program->options;
    if (c.forced) settings().values[keys::kOptionsDialogForced] = c.forced;
    dialog.txtPathLocation.PlatformTextChanged(c.folder);
    dialog.txtSecondsToDisplay.PlatformTextChanged(c.seconds);
    platform.messages.answers = {c.answer};
    settings().writes.clear();

    switch (c.button) {
        case Button::OK:
            dialog.cmdOK.PlatformClick();
            break;
        case Button::Apply:
            dialog.cmdApply.PlatformClick();
            break;
        case Button::Preview:
            dialog.tbsOptions.PlatformSelect(3);  // its page must be in view
            dialog.cmdPreview.PlatformClick();
            break;
    }

    std::vector<std::wstring> shown;
    for (const auto& message : platform.messages.shown) {
        shown.push_back(message.text);
        EXPECT_EQ(message.caption, message.text.rfind(kNoPictures, 0) == 0
                                       ? L"No pictures to display"
                                       : L"Glimra ScreenSaver");
    }
    ASSERT_EQ(shown.size(), c.messages.size());
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(shown[i].rfind(c.messages[i], 0), 0u) << "message " << i;

    const auto seconds = settings().WritesOf(keys::kSecondsToDisplay);
    if (c.storedSeconds) {
        EXPECT_EQ(seconds.size(), c.stores);
        ASSERT_FALSE(seconds.empty());
        EXPECT_EQ(seconds.back(), c.storedSeconds);
        EXPECT_EQ(settings().values[keys::kInitialized], L"True");
        // The eight values, "Initialized" last.
        std::vector<std::wstring> keys;
        for (const auto& [key, value] : settings().writes) {
            if (key != keys::kOptionsDialogForced) keys.push_back(key);
        }
        ASSERT_GE(keys.size(), 8u);
        EXPECT_EQ(std::vector<std::wstring>(keys.begin(), keys.begin() + 8),
                  (std::vector<std::wstring>{L"Path", L"SecondsToDisplay", L"AlwaysOnTop",
                                             L"HideMousePointer", L"DisplayInRandomOrder",
                                             L"displayImageNumber", L"DisplayImageFileName",
                                             L"Initialized"}));
    } else {
        EXPECT_TRUE(seconds.empty());
        EXPECT_TRUE(settings().WritesOf(keys::kPath).empty());
    }
    switch (c.after) {
        case After::Open:
            EXPECT_TRUE(dialog.Visible());
            EXPECT_FALSE(window().timTimer.Enabled());
            break;
        case After::SlideShow:
            EXPECT_TRUE(dialog.Loaded()) << "the dialog stays loaded beneath the show";
            EXPECT_TRUE(window().Visible());
            EXPECT_TRUE(window().timTimer.Enabled());
            EXPECT_EQ(window().strPath, settings().values[keys::kPath]);
            break;
        case After::Ended:
            EXPECT_EQ(program->app.LoadedForms(), 0);
            break;
    }
    if (c.button == Button::Preview) {
        EXPECT_EQ(settings().WritesOf(keys::kOptionsDialogForced),
                  std::vector<std::wstring>{L"True"});
    }
}

constexpr auto Yes = MessageAnswer::Yes, No = MessageAnswer::No;
const wchar_t* const kPics = L"C:\\Pictures";
const wchar_t* const kEmpty = L"C:\\Empty";
const wchar_t* const kGone = L"C:\\Gone";
const wchar_t* const kNoDisk = L"E:\\Photos";
INSTANTIATE_TEST_SUITE_P(
    Dialog, Buttons,
    ::testing::Values(
        // The folder: empty, refused, with pictures, without.
        ButtonCase{Button::OK, L"", L"5", L"True", No, {kChooseFolder}, nullptr, After::Open},
        ButtonCase{Button::OK,
                   L"",
                   L"",
                   L"True",
                   No,
                   {kChooseFolder, kEnterSeconds},
                   nullptr,
                   After::Open},
        ButtonCase{Button::OK, kGone, L"5", L"True", No, {kChooseFolder}, nullptr, After::Open},
        ButtonCase{Button::OK, kNoDisk, L"5", L"True", No, {kNoMedium}, nullptr, After::Open},
        ButtonCase{Button::OK, kPics, L"5", L"True", No, {}, L"5", After::SlideShow},
        ButtonCase{Button::OK, kPics, L"5", L"False", No, {}, L"5", After::Ended},
        ButtonCase{Button::OK, kPics, L"5", nullptr, No, {}, L"5", After::Ended},
        ButtonCase{Button::OK, kEmpty, L"5", L"False", Yes, {kNoPictures}, L"5", After::Open, 2},
        ButtonCase{Button::OK, kEmpty, L"5", L"False", No, {kNoPictures}, L"5", After::Ended},
        ButtonCase{Button::OK, kEmpty, L"5", L"True", No, {kNoPictures}, L"5", After::SlideShow},
        // The seconds: blanks, fractions, negatives, not numbers, too large.
        ButtonCase{Button::OK, kPics, L"   ", L"False", No, {}, nullptr, After::Open},
        ButtonCase{Button::OK, kPics, L" 1 0 ", L"False", No, {}, L"10", After::Ended},
        ButtonCase{Button::OK, kPics, L"7.5", L"False", No, {}, L"8", After::Ended},
        ButtonCase{Button::OK, kPics, L"6.5", L"False", No, {}, L"6", After::Ended},
        ButtonCase{Button::OK, kPics, L"-3", L"False", No, {}, L"-3", After::Ended},
        ButtonCase{Button::OK, kPics, L"abc", L"True", No, {kEnterSeconds}, nullptr, After::Open},
        ButtonCase{
            Button::OK, kPics, L"99999999999", L"True", No, {kEnterSeconds}, nullptr, After::Open},
        ButtonCase{Button::OK, kPics, L"1e99", L"True", No, {kEnterSeconds}, nullptr, After::Open},
        // Apply keeps the dialog; Preview always hands over.
        ButtonCase{Button::Apply, kPics, L"9", L"True", No, {}, L"9", After::Open},
        ButtonCase{Button::Apply, L"", L"9", L"True", No, {kChooseFolder}, nullptr, After::Open},
        ButtonCase{Button::Apply, kGone, L"9", L"True", No, {kChooseFolder}, nullptr, After::Open},
        ButtonCase{Button::Apply, kNoDisk, L"9", L"True", No, {kNoMedium}, nullptr, After::Open},
        ButtonCase{Button::Preview, kPics, L"5", L"False", No, {}, L"5", After::SlideShow},
        ButtonCase{Button::Preview, L"", L"5", L"False", No, {kChooseFolder}, nullptr, After::Open},
        ButtonCase{Button::Preview, kNoDisk, L"5", L"False", No, {kNoMedium}, nullptr, After::Open},
        ButtonCase{
            Button::Preview, kEmpty, L"5", L"False", No, {kNoPictures}, L"5", After::SlideShow},
        ButtonCase{
            Button::Preview, kEmpty, L"5", L"False", Yes, {kNoPictures}, L"5", After::Open, 2}));

using Closing = ProgramTest;

TEST_F(Closing, ApplyAnnouncesTheStoredFolderOnlyAndCancelStoresNothing) {
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    Start(L"/c");
    frmGlimraOptions& dialog = program->options;
    dialog.cmdApply.PlatformClick();
    EXPECT_TRUE(dialog.lblRunFirstTime.Visible());
    EXPECT_EQ(dialog.lblRunFirstTime.Caption(), L"Images will be displayed from ")
        << "an empty folder: the notice with nothing after it";
    dialog.txtPathLocation.PlatformTextChanged(L"c:\\Pictures\\");
    dialog.cmdApply.PlatformClick();
    EXPECT_EQ(dialog.lblRunFirstTime.Caption(), L"Images will be displayed from C:\\Pictures");
    EXPECT_EQ(dialog.FilePath.Path(), L"C:\\Pictures");
    EXPECT_TRUE(dialog.Visible());

    dialog.txtPathLocation.PlatformTextChanged(L"C:\\Gone");
    dialog.cmdApply.PlatformClick();
    EXPECT_EQ(dialog.lblRunFirstTime.Caption(), L"Images will be displayed from C:\\Pictures");

    const size_t writes = settings().writes.size();
    dialog.cmdCancel.PlatformClick();
    EXPECT_EQ(settings().writes.size(), writes);
    EXPECT_EQ(program->app.LoadedForms(), 0) << "Cancel ends even a forced dialog";
}

TEST_F(Closing, AStoreThatRefusesAWriteIsNeverMarkedConfigured) {
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    for (int failAt = 0; failAt < 8; ++failAt) {
        platform.settings.values.clear();
        Start(L"/c");
        frmGlimraOptions& dialog = program->options;
        dialog.txtPathLocation.PlatformTextChanged(L"C:\\Pictures");
        int writes = 0;
        platform.settings.writes.clear();
        platform.settings.failAfter = failAt;
        dialog.SaveOptions();
        platform.settings.failAfter = -1;
        for (const auto& [key, value] : platform.settings.writes)
            writes += platform.settings.values.count(key) ? 1 : 0;
        EXPECT_EQ(writes, failAt) << "the writes before the failure stay";
        EXPECT_EQ(platform.settings.values.count(keys::kInitialized), 0u) << failAt;
    }
}

TEST_F(Closing, SecondsAreReadInTheUsersLocale) {
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    platform.locale.separator = L',';
    Start(L"/c");
    frmGlimraOptions& dialog = program->options;
    dialog.txtPathLocation.PlatformTextChanged(L"C:\\Pictures");
    for (auto [typed, stored] : {std::pair{L"7,5", L"8"}, {L"2,5", L"2"}}) {
        dialog.txtSecondsToDisplay.PlatformTextChanged(typed);
        dialog.cmdApply.PlatformClick();
        EXPECT_EQ(settings().values[keys::kSecondsToDisplay], stored);
    }
    dialog.txtSecondsToDisplay.PlatformTextChanged(L"7.5");
    dialog.cmdApply.PlatformClick();
    EXPECT_EQ(platform.messages.shown.size(), 1u) << "a point is no decimal sign here";
}

// The hand-over runs the window's steps in one order: its timer on, the settings read (the
// start counted), its pictures listed, the window shown; on a folder without pictures the
// window is shown first.
TEST_F(Closing, TheHandOverRunsTheWindowsStepsInItsOrder) {
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    platform.files.AddFiles(L"C:\\Empty\\", {L"notes.txt"});
    const std::pair<const wchar_t*, std::vector<std::string>> cases[] = {
        {L"C:\\Pictures", {"count +timer", "show +timer +listed"}},
        {L"C:\\Empty", {"show", "count +timer"}},
    };
    for (const auto& [folder, expected] : cases) {
        settings().values.clear();
        Start(L"/c");
        settings().values[keys::kOptionsDialogForced] = keys::kTrue;
        std::vector<std::string> steps;
        auto note = [&](const char* step) {
            steps.push_back(std::string(step) + (window().timTimer.Enabled() ? " +timer" : "") +
                            (window().strImageFolder.size() > 1 ? " +listed" : ""));
        };
        settings().written = [&](const std::wstring& key) {
            if (key == keys::kShowSplashScreen) note("count");
        };
        windowPeer().visibleChanged = [&] {
            if (window().Visible()) note("show");
        };
        program->options.txtPathLocation.PlatformTextChanged(folder);
        program->options.cmdOK.PlatformClick();
        settings().written = nullptr;
        EXPECT_EQ(steps, expected);
        EXPECT_EQ(window().strImageFolder, std::wstring(folder) + L"\\");
    }
}

// "OptionsDialogForced" stays "True" after a Preview that stopped early, so an OK in the same
// dialog starts the show.
TEST_F(Closing, AnOKAfterAPreviewThatStoppedEarlyStartsTheShow) {
    platform.files.AddFiles(L"C:\\Pictures\\", {L"a.jpg"});
    platform.files.AddFiles(L"C:\\Empty\\", {L"notes.txt"});
    // Previewed: no folder (the folder message), a folder without pictures (Yes to browse).
    for (const wchar_t* previewed : {L"", L"C:\\Empty"}) {
        settings().values.clear();
        Start(L"/c:1");
        frmGlimraOptions& dialog = program->options;
        platform.messages.answers = {MessageAnswer::Yes};
        platform.messages.next = 0;
        dialog.txtPathLocation.PlatformTextChanged(previewed);
        dialog.tbsOptions.PlatformSelect(3);
        dialog.cmdPreview.PlatformClick();
        ASSERT_EQ(CurrentMode(), Mode::OptionsDialog);
        dialog.txtPathLocation.PlatformTextChanged(L"C:\\Pictures");
        dialog.cmdOK.PlatformClick();
        EXPECT_TRUE(window().Visible() && window().timTimer.Enabled() && dialog.Loaded());
    }
}

TEST_F(Closing, LinksLightUpUnderThePointerAndOpenThroughTheShell) {
    Start(L"/c");
    frmGlimraOptions& d = program->options;
    // A link's look: 1 highlighted (underlined, red, bordered, the hand over label and icon),
    // 0 normal, -1 anything between.
    auto look = [](const Label& label, const Image& icon) {
        const bool parts[] = {label.Font().underline, label.ForeColor() == Rgb(255, 0, 0),
                              label.Pointer() == MousePointer::Custom,
                              icon.Pointer() == MousePointer::Custom, icon.Border()};
        const auto on = std::count(std::begin(parts), std::end(parts), true);
        return on == 5 ? 1 : on == 0 ? 0 : -1;
    };
    auto looks = [&] {
        return std::pair{look(d.lblHelpLink, d.imgHelpLink),
                         look(d.lblDownloadLink, d.imgDownloadLink)};
    };
    const std::pair none{0, 0}, help{1, 0}, download{0, 1};
    d.tbsOptions.SetSelectedItem(5);
    EXPECT_EQ(looks(), none);
    d.imgHelpLink.PlatformMouseMove(0, 0, 1, 1);
    EXPECT_EQ(looks(), help);
    d.lblDownloadLink.PlatformMouseMove(0, 0, 1, 1);
    EXPECT_EQ(looks(), download) << "one link at a time";
    d.lblComments.PlatformMouseMove(0, 0, 1, 1);
    EXPECT_EQ(looks(), download) << "the comments have no mouse handling";
    d.lblComments2.PlatformClick();
    EXPECT_EQ(looks(), none);
    d.lblHelpLink.PlatformMouseMove(0, 0, 1, 1);
    d.lblHelpLink.PlatformMouseUp(1, 0, 1, 1);
    EXPECT_EQ(looks(), none) << "a release restores";

    // From any of the four link controls onto any area around the links.
    Control* const areas[] = {&d.tbsOptions, &d.fraSample5, &d.picOptions[4], nullptr};
    Control* const links[] = {&d.lblHelpLink, &d.imgHelpLink, &d.lblDownloadLink,
                              &d.imgDownloadLink};
    for (Control* link : links) {
        for (Control* area : areas) {
            link->PlatformMouseMove(0, 0, 1, 1);
            ASSERT_NE(looks(), none);
            if (area) {
                area->PlatformMouseMove(0, 0, 1, 1);
            } else {
                d.PlatformMouseMove(0, 0, 1, 1);
            }
            EXPECT_EQ(looks(), none) << (area ? "over a control" : "over the form");
        }
    }

    d.imgDownloadLink.PlatformMouseMove(0, 0, 1, 1);
    d.imgDownloadLink.PlatformClick();
    EXPECT_EQ(looks(), none) << "the download icon restores after opening";
    d.lblHelpLink.PlatformClick();
    EXPECT_EQ(
        platform.shell.opened,
        (std::vector<std::wstring>{d.strDownloadAddress,
                                   L"C:\\Program Files\\Glimra\\help\\glimrascreensaver.htm"}));
    d.lblRunFirstTime.SetCaption(L"hint");
    d.picOptions[4].PlatformMouseMove(0, 0, 1, 1);
    EXPECT_EQ(d.lblRunFirstTime.Caption(), L"") << "a page clears the hint";
}

}  // namespace
}  // namespace glimra
