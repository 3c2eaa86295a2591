#include "options/frmGlimraOptions.h"

#include "options/DownloadAddress.h"
#include "options/OptionsTexts.h"
#include "platform/ScopedFlag.h"
#include "settings/SettingKeys.h"
#include "settings/ValueRules.h"

namespace glimra {
namespace {

const Font kDialogFont{L"Arial", 9.75f, false, false};
const Font kPageFont{L"MS Sans Serif", 8.25f, false, false};

Font Arial(float points, bool bold = false) {
    return {L"Arial", points, bold, false};
}

FormDesign OptionsDesign() {
    FormDesign design;
    design.caption = L"Glimra ScreenSaver Options";
    design.border = BorderStyle::FixedDialog;
    design.width = 6150;
    design.height = 4920;
    design.backColor = kButtonFace;
    design.font = kDialogFont;
    design.keyPreview = true;
    return design;
}

// Places a control and gives it its design look: position and size in twips on its
// container, tab-order position, tip and font.
void Place(Control& control, float left, float top, float width, float height, int tabIndex,
           const std::wstring& tip = {}, const Font& font = kDialogFont) {
    control.Move(left, top, width, height);
    control.SetTabIndex(tabIndex);
    control.SetToolTipText(tip);
    control.SetFont(font);
}

// The first number of a check box's setting: an empty text stands for checked.
std::optional<std::int32_t> CheckValueOf(const std::wstring& stored) {
    return ReadWholeNumber(stored.empty() ? L"1" : stored);
}

}  // namespace

frmGlimraOptions::frmGlimraOptions(Application& app, const Ports& ports)
    : Form(app, OptionsDesign()),
      tbsOptions(*this, L"tbsOptions"),
      picOptions{PictureBox(*this, L"picOptions(0)"), PictureBox(*this, L"picOptions(1)"),
                 PictureBox(*this, L"picOptions(2)"), PictureBox(*this, L"picOptions(3)"),
                 PictureBox(*this, L"picOptions(4)")},
      cmdOK(*this, L"cmdOK"),
      cmdCancel(*this, L"cmdCancel"),
      cmdApply(*this, L"cmdApply"),
      fraSample1(picOptions[0], L"fraSample1"),
      txtPathLocation(fraSample1, L"txtPathLocation"),
      cmdBrowse(fraSample1, L"cmdBrowse"),
      DrivePath(fraSample1, L"DrivePath", ports.files),
      DirPath(fraSample1, L"DirPath", ports.files),
      FilePath(fraSample1, L"FilePath", ports.files),
      lblImagesToDisplay(fraSample1, L"lblImagesToDisplay"),
      lblRunFirstTime(fraSample1, L"lblRunFirstTime"),
      lblNotify(fraSample1, L"lblNotify"),
      fraSample3(picOptions[1], L"fraSample3"),
      lblSecondsDisplay(fraSample3, L"lblSecondsDisplay"),
      txtSecondsToDisplay(fraSample3, L"txtSecondsToDisplay"),
      lblSecondsDisplay2(fraSample3, L"lblSecondsDisplay2"),
      chkMousePointer(fraSample3, L"chkMousePointer"),
      chkAlwaysOnTop(fraSample3, L"chkAlwaysOnTop"),
      chkRandomImages(fraSample3, L"chkRandomImages"),
      lblDisplayStats(fraSample3, L"lblDisplayStats"),
      chkDisplayImageNumber(fraSample3, L"chkDisplayImageNumber"),
      chkImageFileName(fraSample3, L"chkImageFileName"),
      fraSample4(picOptions[2], L"fraSample4"),
      imgPreview(fraSample4, L"imgPreview"),
      cmdPreview(fraSample4, L"cmdPreview"),
      lblPreview(fraSample4, L"lblPreview"),
      fraSample2(picOptions[3], L"fraSample2"),
      Image1(fraSample2, L"Image1"),
      lblAppTitle(fraSample2, L"lblAppTitle"),
      lblAppVersion(fraSample2, L"lblAppVersion"),
      lblCopyright(fraSample2, L"lblCopyright"),
      Line1(fraSample2, L"Line1"),
      lblDistribution(fraSample2, L"lblDistribution"),
      fraSample5(picOptions[4], L"fraSample5"),
      imgMe(fraSample5, L"imgMe"),
      lblComments(fraSample5, L"lblComments"),
      lblComments2(fraSample5, L"lblComments2"),
      lblDeveloper(fraSample5, L"lblDeveloper"),
      imgHelpLink(fraSample5, L"imgHelpLink"),
      lblHelpLink(fraSample5, L"lblHelpLink"),
      imgDownloadLink(fraSample5, L"imgDownloadLink"),
      lblDownloadLink(fraSample5, L"lblDownloadLink"),
      ports_(ports) {
    LayOut();
    WireEvents();
}

void frmGlimraOptions::WireEvents() {
    using Mouse = std::function<void(int, int, float, float)>;
    tbsOptions.Click = [this] { tbsOptions_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdApply.Click = [this] { cmdApply_Click(); };
    cmdPreview.Click = [this] { cmdPreview_Click(); };
    cmdBrowse.Click = [this] { cmdBrowse_Click(); };
    DrivePath.Change = [this] { DrivePath_Change(); };
    DirPath.Change = [this] { DirPath_Change(); };
    DirPath.Click = [this] { DirPath_Click(); };
    FilePath.Click = [this] { FilePath_Click(); };
    FilePath.DblClick = [this] { FilePath_DblClick(); };
    fraSample1.MouseMove = [this](int, int, float, float) { ClearHint(); };

    // The links: highlighted under the pointer, restored over the areas around them.
    const Mouse overHelp = [this](int, int, float, float) {
        HighlightHelpLink();
        RestoreDownloadLink();
    };
    const Mouse overDownload = [this](int, int, float, float) {
        HighlightDownloadLink();
        RestoreHelpLink();
    };
    const Mouse restoreBoth = [this](int, int, float, float) {
        RestoreHelpLink();
        RestoreDownloadLink();
    };
    lblHelpLink.MouseMove = imgHelpLink.MouseMove = overHelp;
    lblDownloadLink.MouseMove = imgDownloadLink.MouseMove = overDownload;
    lblHelpLink.MouseUp =
        imgHelpLink.MouseUp = [this](int, int, float, float) { RestoreHelpLink(); };
    lblDownloadLink.MouseUp =
        imgDownloadLink.MouseUp = [this](int, int, float, float) { RestoreDownloadLink(); };
    lblHelpLink.Click = imgHelpLink.Click = [this] { OpenLink(strHelpPagePath); };
    lblDownloadLink.Click = [this] {
        RestoreDownloadLink();
        OpenLink(strDownloadAddress);
    };
    imgDownloadLink.Click = [this] {
        OpenLink(strDownloadAddress);
        RestoreDownloadLink();
    };
    tbsOptions.MouseMove = fraSample5.MouseMove = restoreBoth;
    for (PictureBox& page : picOptions) {
        page.MouseMove = [this](int, int, float, float) {
            ClearHint();
            RestoreHelpLink();
            RestoreDownloadLink();
        };
    }
    lblComments2.Click = [this] {
        RestoreHelpLink();
        RestoreDownloadLink();
    };
}

void frmGlimraOptions::LayOut() {
    Place(tbsOptions, 120, 120, 5895, 4245, 0);
    tbsOptions.SetTabs({
        {L"&Location of Images", L"Group1", L"",
         L"Location of images to display on the hard drive or network"},
        {L"&Preferences", L"Preferences", L"", L"Screen saver preferences"},
        {L"Pre&view", L"Preview", L"", L"Preview the screen saver"},
        {L"A&bout", L"About", L"About", L"About Glimra ScreenSaver"},
        {L"&Help", L"Help", L"Help", L"Help using the screen saver"},
    });

    // The pages and their frames; only the page of the selected tab is in view.
    const int pageTabIndex[5] = {4, 7, 8, 6, 34};
    for (int i = 0; i < 5; ++i) {
        const float left = i == 0 ? 240 : -20000;
        if (i < 4) {
            Place(picOptions[i], left, 480, 5685, 3780, pageTabIndex[i], {}, kPageFont);
        } else {
            Place(picOptions[i], left, 600, 5655, 3615, pageTabIndex[i]);
        }
    }
    Place(fraSample1, 120, 120, 5415, 3585, 5);
    fraSample1.SetCaption(L"Choose folder from which images should be displayed");
    Place(fraSample3, 120, 120, 5415, 3510, 10);
    fraSample3.SetCaption(L"Choose screen saver preferences");
    Place(fraSample4, 120, 120, 5415, 3585, 11);
    fraSample4.SetCaption(L"Preview the screen saver");
    Place(fraSample2, 120, 60, 5415, 3705, 9);
    fraSample2.SetMousePointer(MousePointer::Custom);
    fraSample2.SetMouseIcon(PointerPicture::ProgramIcon);
    Place(fraSample5, 120, 0, 5415, 3615, 35);
    fraSample5.SetCaption(L"Help using this screen saver");

    Place(cmdOK, 2490, 4455, 1095, 375, 1);
    cmdOK.SetCaption(L"&OK");
    Place(cmdCancel, 3720, 4455, 1095, 375, 2);
    cmdCancel.SetCaption(L"&Cancel");
    cmdCancel.SetCancel(true);
    Place(cmdApply, 4920, 4455, 1095, 375, 3);
    cmdApply.SetCaption(L"&Apply");

    // Tab 1: the folder.
    Place(txtPathLocation, 120, 360, 3975, 375, 16, {}, Arial(9));
    txtPathLocation.SetText(L"Path from which to display pictures");
    Place(cmdBrowse, 4200, 360, 1095, 375, 18,
          L"Click to browse and find images for the screen saver to display");
    cmdBrowse.SetCaption(L"&Browse");
    Place(DrivePath, 120, 840, 2775, 345, 19, {}, Arial(9));
    Place(DirPath, 120, 1320, 2775, 1620, 21, {}, Arial(9));
    Place(FilePath, 3000, 1200, 2295, 1665, 23, {}, Arial(9));
    Place(lblImagesToDisplay, 2940, 960, 2415, 255, 33, {}, Arial(8.25f, true));
    lblImagesToDisplay.SetCaption(L"Images that will be displayed");
    lblImagesToDisplay.SetAlignment(Alignment::Center);
    lblImagesToDisplay.SetVisible(false);
    Place(lblRunFirstTime, 120, 3000, 5175, 495, 28, {}, Arial(9.75f, true));
    lblRunFirstTime.SetCaption(texts::kWelcome);
    lblRunFirstTime.SetForeColor(Rgb(255, 0, 0));
    Place(lblNotify, -20000, 360, 5055, 375, 12, {}, Arial(8.25f, true));
    lblNotify.SetForeColor(Rgb(255, 0, 0));
    lblNotify.SetVisible(false);

    // Tab 2: the preferences.
    const std::wstring secondsTip = L"Amount of time to display each image";
    Place(lblSecondsDisplay, 240, 480, 2055, 255, 17, secondsTip, Arial(9));
    lblSecondsDisplay.SetCaption(L"Display each image for");
    Place(txtSecondsToDisplay, 2280, 360, 735, 360, 20, secondsTip);
    txtSecondsToDisplay.SetText(L"0");
    Place(lblSecondsDisplay2, 3120, 480, 1095, 255, 22, secondsTip, Arial(9));
    lblSecondsDisplay2.SetCaption(L"seconds");
    Place(chkMousePointer, 240, 840, 2175, 255, 26,
          L"Hide mouse pointer while screen saver running");
    chkMousePointer.SetCaption(L"&Hide mouse pointer");
    Place(chkAlwaysOnTop, 240, 1200, 3015, 255, 27,
          L"Keep screen saver on top of all other windows and applications");
    chkAlwaysOnTop.SetCaption(L"Screen saver always on &top");
    Place(chkRandomImages, 240, 1560, 3135, 255, 29,
          L"Display images in random order rather than sequentially");
    chkRandomImages.SetCaption(L"Display images in &random order");
    Place(lblDisplayStats, 240, 2040, 3855, 255, 31);
    lblDisplayStats.SetCaption(L"Image stats to display in upper left corner");
    Place(chkDisplayImageNumber, 240, 2400, 4215, 255, 30,
          L"Display image's number in sequence in upper left screen corner");
    chkDisplayImageNumber.SetCaption(L"Image &number in sequence of images");
    Place(chkImageFileName, 240, 2760, 2895, 255, 32,
          L"Display image's path and file name in upper left screen corner");
    chkImageFileName.SetCaption(L"Image &file path && file name");

    // Tab 3: the preview.
    Place(imgPreview, 120, 360, 3210, 2325, 0);
    imgPreview.SetBuiltInPicture(DesignPicture::PreviewMiniature);
    imgPreview.SetStretch(true);
    Place(cmdPreview, 3480, 1320, 1815, 615, 24, L"Click to view the screen saver in action",
          Arial(12, true));
    cmdPreview.SetCaption(L"Previe&w");
    Place(lblPreview, 120, 2760, 5175, 735, 25, {}, Arial(9));
    lblPreview.SetCaption(
        L"When you click the Preview button, all options, preferences, and settings will be "
        L"applied and the screen saver started. This Options window will close and "
        L"disappear.");

    // Tab 4: about.
    Place(Image1, 120, 240, 1680, 1200, 0,
          std::wstring(L"Glimra ScreenSaver by ") + texts::kAuthor);
    Image1.SetBuiltInPicture(DesignPicture::AboutMiniature);
    Image1.SetStretch(true);
    Place(lblAppTitle, 1800, 150, 3495, 465, 13, texts::kProgramTitle,
          {L"Comic Sans MS", 15.75f, true, false});
    lblAppTitle.SetCaption(L"ProductName");
    lblAppTitle.SetForeColor(Rgb(0, 128, 0));
    lblAppTitle.SetAlignment(Alignment::Right);
    Place(lblAppVersion, 2280, 600, 3015, 255, 15, {}, Arial(9.75f, true));
    lblAppVersion.SetCaption(L"Major.Minor.Revison");
    lblAppVersion.SetAlignment(Alignment::Right);
    Place(lblCopyright, 2280, 840, 3015, 495, 14);
    lblCopyright.SetCaption(L"Copyright");
    lblCopyright.SetAlignment(Alignment::Right);
    Line1.SetEnds(120, 1440, 5300, 1440);
    Place(lblDistribution, 120, 1440, 5175, 2175, 39, {}, Arial(6.75f));
    lblDistribution.SetCaption(L"Distribution");

    // Tab 5: help and download.
    Place(imgMe, 120, 360, 1110, 1350, 0, texts::kAuthor);
    imgMe.SetBuiltInPicture(DesignPicture::Portrait);
    Place(lblComments, 1320, 360, 3975, 1335, 36, {}, Arial(8.25f));
    lblComments.SetCaption(L"Comments");
    Place(lblComments2, 1320, 1680, 3975, 735, 40, {}, Arial(8.25f));
    lblComments2.SetCaption(L"Comments2");
    Place(lblDeveloper, 120, 1800, 1095, 855, 38, {}, Arial(6.75f, true));
    lblDeveloper.SetCaption(std::wstring(L"Developer, ") + texts::kAuthor);
    Place(imgHelpLink, 1320, 2520, 480, 480, 0, L"Click here for Help");
    imgHelpLink.SetBuiltInPicture(DesignPicture::HelpIcon);
    Place(lblHelpLink, 1920, 2520, 3015, 255, 37, L"Click here for Help", Arial(9.75f, true));
    lblHelpLink.SetCaption(L"Glimra ScreenSaver Help");
    lblHelpLink.SetForeColor(Rgb(0, 0, 255));
    Place(imgDownloadLink, 1320, 3000, 480, 480, 0,
          L"Click here to download latest version of Glimra ScreenSaver");
    imgDownloadLink.SetBuiltInPicture(DesignPicture::DownloadIcon);
    Place(lblDownloadLink, 1920, 3000, 2535, 255, 41,
          L"Click here to download the latest version of Glimra ScreenSaver", Arial(9.75f, true));
    lblDownloadLink.SetCaption(L"Download Latest Version");
    lblDownloadLink.SetForeColor(Rgb(0, 0, 255));
    for (Control* link : std::initializer_list<Control*>{&imgHelpLink, &lblHelpLink,
                                                         &imgDownloadLink, &lblDownloadLink})
        link->SetMouseIcon(PointerPicture::PointingHand);
}

void frmGlimraOptions::Form_Load() {
    SettingsStore& store = ports_.settings;
    const ProgramDetails program = ports_.program.Details();
    Move((ports_.screen.Width() - Width()) / 2, (ports_.screen.Height() - Height()) / 2);
    lblAppVersion.SetCaption(L"Version " + std::to_wstring(program.major) + L"." +
                             std::to_wstring(program.minor) + L"." +
                             std::to_wstring(program.revision));
    lblAppTitle.SetCaption(program.productName);
    lblCopyright.SetCaption(texts::kCredit);
    lblComments.SetCaption(program.description);
    lblComments2.SetCaption(texts::kComments2);
    FilePath.SetPattern(texts::kStartPattern);
    txtPathLocation.SetText(store.Read(keys::kPath));
    lblDistribution.SetCaption(texts::kDistribution);
    PointListsAt(txtPathLocation.Text());
    strHelpPagePath = program.folder + texts::kHelpPage;
    strDownloadAddress = kDownloadAddress;

    std::wstring initialized = store.Read(keys::kInitialized);
    if (initialized.empty()) initialized = keys::kFalse;
    lblRunFirstTime.SetVisible(initialized == keys::kFalse);

    DrivePath.SetVisible(false);
    DirPath.SetVisible(false);
    FilePath.SetVisible(false);
    txtSecondsToDisplay.SetText(store.Read(keys::kSecondsToDisplay));
    const std::pair<const wchar_t*, CheckBox*> checkBoxes[] = {
        {keys::kAlwaysOnTop, &chkAlwaysOnTop},
        {keys::kHideMousePointer, &chkMousePointer},
        {keys::kDisplayInRandomOrder, &chkRandomImages},
        {keys::kDisplayImageFileName, &chkImageFileName},
        {keys::kDisplayImageNumber, &chkDisplayImageNumber},
    };
    for (const auto& [key, box] : checkBoxes) {
        // A text that is not 0, 1 or 2 is refused by the box, which keeps its state.
        if (const auto value = CheckValueOf(store.Read(key))) box->SetValue(*value);
    }
    if (txtSecondsToDisplay.Text().empty()) txtSecondsToDisplay.SetText(L"5");
    tbsOptions_Click();
}

// Points the file list, the folder list and the drive list at a folder, in that order. A
// folder the lists refuse leaves them where they were.
void frmGlimraOptions::PointListsAt(const std::wstring& folder) {
    if (folder.empty()) return;
    const ScopedFlag assigning(assigningLists_);
    FilePath.SetPath(folder);
    DirPath.SetPath(folder);
    DrivePath.SetDrive(folder);
}

void frmGlimraOptions::tbsOptions_Click() {
    const int n = static_cast<int>(tbsOptions.Tabs().size());
    for (int i = 0; i < n && i < static_cast<int>(picOptions.size()); ++i) {
        PictureBox& page = picOptions[static_cast<size_t>(i)];
        const bool selected = i == tbsOptions.SelectedItem() - 1;
        page.SetLeft(selected ? 210 : -20000);
        page.SetEnabled(selected);
    }
}

void frmGlimraOptions::Form_KeyDown(int keyCode, int shift) {
    constexpr int kTab = 9, kCtrl = 2;
    if (keyCode != kTab || shift != kCtrl) return;
    const int s = tbsOptions.SelectedItem();
    tbsOptions.SetSelectedItem(s == static_cast<int>(tbsOptions.Tabs().size()) ? 1 : s + 1);
}

void frmGlimraOptions::cmdBrowse_Click() {
    DrivePath.SetVisible(true);
    DirPath.SetVisible(true);
    FilePath.SetVisible(true);
    lblImagesToDisplay.SetVisible(true);
}

void frmGlimraOptions::DrivePath_Change() {
    const std::wstring drive = DrivePath.Drive();
    // The dialog's own assignment of a folder, or a folder list already on the chosen drive,
    // keeps the folder list where it is.
    const bool onDrive = DriveLetterOf(DirPath.Path()) == DriveLetterOf(drive);
    if (!assigningLists_ && !onDrive) {
        if (DirPath.SetPath(drive) == FolderError::DeviceUnavailable) ShowDriveUnavailable();
    }
    DrivePath.SetToolTipText(DrivePath.Drive());
}

void frmGlimraOptions::ShowDriveUnavailable() {
    ports_.messages.Show(texts::kDriveUnavailable, texts::kProgramTitle, MessageButtons::Ok);
}

void frmGlimraOptions::DirPath_Change() {
    FilePath.SetPath(DirPath.Path());
    DrivePath.SetDrive(DirPath.Path());
    FilePath.SetPattern(texts::kPattern);
    txtPathLocation.SetText(DirPath.Path());
    DirPath.SetToolTipText(DirPath.Path());
    lblRunFirstTime.SetCaption(L"");
    FilePath.SetToolTipText(texts::kAllImagesListed);
    DrivePath.SetToolTipText(DrivePath.Drive());
    txtPathLocation.SetToolTipText(txtPathLocation.Text());
}

void frmGlimraOptions::DirPath_Click() {
    lblRunFirstTime.SetVisible(true);
    lblRunFirstTime.SetCaption(texts::kDoubleClickHint);
}

void frmGlimraOptions::FilePath_Click() {
    lblRunFirstTime.SetVisible(true);
    lblRunFirstTime.SetCaption(texts::kAllImagesListed);
}

void frmGlimraOptions::FilePath_DblClick() {
    txtPathLocation.SetText(DirPath.Path());
    FilePath.SetToolTipText(FilePath.Path());
    lblRunFirstTime.SetVisible(true);
    lblRunFirstTime.SetCaption(texts::kAllImagesListed);
}

void frmGlimraOptions::ClearHint() {
    lblRunFirstTime.SetCaption(L"");
}

void frmGlimraOptions::Form_MouseMove(int, int, float, float) {
    RestoreHelpLink();
    RestoreDownloadLink();
}

// ---- validation, saving and closing

void frmGlimraOptions::ValidateOptions() {
    MessageBoxes& messages = ports_.messages;
    if (txtPathLocation.Text().empty())
        messages.Show(texts::kChooseFolder, texts::kProgramTitle, MessageButtons::Ok);
    if (txtSecondsToDisplay.Text().empty())
        messages.Show(texts::kEnterSeconds, texts::kProgramTitle, MessageButtons::Ok);
    SaveOptions();
    // A folder the lists refuse, or seconds that are no whole number, would store nothing
    // without a word: the user is told, as for an empty field. A folder on a drive without
    // its medium gets the drive list's own message instead.
    if (lastSave_ == SaveOutcome::FolderRefused)
        messages.Show(texts::kChooseFolder, texts::kProgramTitle, MessageButtons::Ok);
    if (lastSave_ == SaveOutcome::DeviceUnavailable) ShowDriveUnavailable();
    if (lastSave_ == SaveOutcome::SecondsRefused)
        messages.Show(texts::kEnterSeconds, texts::kProgramTitle, MessageButtons::Ok);
}

void frmGlimraOptions::SaveOptions() {
    lastSave_ = SaveOutcome::NoFolder;
    if (txtPathLocation.Text().empty()) return;
    switch (AssignListsForSave(txtPathLocation.Text())) {
        case FolderError::None:
            break;
        case FolderError::DeviceUnavailable:
            lastSave_ = SaveOutcome::DeviceUnavailable;
            return;
        default:
            lastSave_ = SaveOutcome::FolderRefused;
            return;
    }
    lastSave_ = SaveOutcome::NoSeconds;
    if (txtSecondsToDisplay.Text().empty()) return;
    std::wstring seconds = txtSecondsToDisplay.Text();
    std::erase(seconds, L' ');
    txtSecondsToDisplay.SetText(seconds);
    const std::wstring folder = txtPathLocation.Text();
    const std::optional<std::int32_t> number =
        ReadLocalWholeNumber(seconds, ports_.locale.DecimalSeparator());
    lastSave_ = seconds.empty() ? SaveOutcome::NoSeconds : SaveOutcome::SecondsRefused;
    if (!number) return;
    // The first write that fails ends the save: "Initialized" is written last, so a store that
    // refused a value is never marked as configured.
    SettingsStore& store = ports_.settings;
    lastSave_ = SaveOutcome::WriteFailed;
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {keys::kPath, folder},
        {keys::kSecondsToDisplay, std::to_wstring(*number)},
        {keys::kAlwaysOnTop, std::to_wstring(chkAlwaysOnTop.Value())},
        {keys::kHideMousePointer, std::to_wstring(chkMousePointer.Value())},
        {keys::kDisplayInRandomOrder, std::to_wstring(chkRandomImages.Value())},
        {keys::kDisplayImageNumber, std::to_wstring(chkDisplayImageNumber.Value())},
        {keys::kDisplayImageFileName, std::to_wstring(chkImageFileName.Value())},
        {keys::kInitialized, keys::kTrue},
    };
    for (const auto& [key, value] : values) {
        if (!store.Write(key, value)) return;
    }
    lastSave_ = SaveOutcome::Stored;
}

// Points the drive list, the folder list and the file list at a folder for saving; the first
// list that refuses it says why.
FolderError frmGlimraOptions::AssignListsForSave(const std::wstring& folder) {
    const ScopedFlag assigning(assigningLists_);
    if (!DrivePath.SetDrive(folder)) return FolderError::NotFound;
    if (const FolderError error = DirPath.SetPath(folder); error != FolderError::None) return error;
    return FilePath.SetPath(folder);
}

void frmGlimraOptions::ReadDialogForced() {
    const std::wstring stored = ports_.settings.Read(keys::kOptionsDialogForced);
    if (const std::optional<bool> value = ReadBoolean(stored)) blnDialogForced = *value;
}

void frmGlimraOptions::cmdOK_Click() {
    ValidateOptions();
    AcceptOptions();
}

void frmGlimraOptions::cmdPreview_Click() {
    ValidateOptions();
    ports_.settings.Write(keys::kOptionsDialogForced, keys::kTrue);
    AcceptOptions();
}

// What OK and Preview do once the options were validated and saved.
void frmGlimraOptions::AcceptOptions() {
    if (txtPathLocation.Text().empty() || txtSecondsToDisplay.Text().empty()) return;
    if (SaveRefused()) return;
    if (FilePath.ListCount() >= 1) {
        ReadDialogForced();
        if (blnDialogForced) {
            slideShow_->StartSlideShow(false);
        } else {
            EndProgram();
        }
        return;
    }
    const MessageAnswer answer =
        ports_.messages.Show(texts::kNoPictures, texts::kNoPicturesCaption, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) {
        cmdBrowse_Click();
        ValidateOptions();
        return;
    }
    ReadDialogForced();
    if (blnDialogForced) {
        slideShow_->StartSlideShow(true);
    } else {
        EndProgram();
    }
}

void frmGlimraOptions::EndProgram() {
    Unload();
    slideShow_->Unload();
}

void frmGlimraOptions::cmdApply_Click() {
    ValidateOptions();
    // A folder that was not stored is not announced as the one in use.
    if (SaveRefused()) return;
    lblRunFirstTime.SetVisible(true);
    lblRunFirstTime.SetCaption(texts::kImagesFrom + txtPathLocation.Text());
    if (FilePath.Path() == txtPathLocation.Text()) return;
    PointListsForApply(txtPathLocation.Text());
}

// Apply's own order: the drive list, the folder list, then the file list at the folder list's
// folder.
void frmGlimraOptions::PointListsForApply(const std::wstring& folder) {
    const ScopedFlag assigning(assigningLists_);
    DrivePath.SetDrive(folder);
    DirPath.SetPath(folder);
    FilePath.SetPath(DirPath.Path());
}

void frmGlimraOptions::cmdCancel_Click() {
    if (blnDialogForced) {
        slideShow_->Show();
        Unload();
    } else {
        EndProgram();
    }
}

// ---- the help and download links

namespace {

// One link's look, set as a whole in this order: the label's underline, its colour and
// pointer, then the icon's pointer and border. Highlighted it is red, underlined and
// bordered under the pointing hand; restored, blue under the standard arrow.
void SetLinkLook(Label& label, Image& icon, bool highlighted) {
    const MousePointer pointer = highlighted ? MousePointer::Custom : MousePointer::Arrow;
    label.SetUnderline(highlighted);
    label.SetForeColor(highlighted ? Rgb(255, 0, 0) : Rgb(0, 0, 255));
    label.SetMousePointer(pointer);
    icon.SetMousePointer(pointer);
    icon.SetBorder(highlighted);
}

}  // namespace

void frmGlimraOptions::HighlightHelpLink() {
    SetLinkLook(lblHelpLink, imgHelpLink, true);
}

void frmGlimraOptions::RestoreHelpLink() {
    SetLinkLook(lblHelpLink, imgHelpLink, false);
}

void frmGlimraOptions::HighlightDownloadLink() {
    SetLinkLook(lblDownloadLink, imgDownloadLink, true);
}

void frmGlimraOptions::RestoreDownloadLink() {
    SetLinkLook(lblDownloadLink, imgDownloadLink, false);
}

void frmGlimraOptions::OpenLink(const std::wstring& target) {
    ports_.shell.Open(target);
}

void frmGlimraOptions::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    // The close box does what Cancel does, so no hidden window is left running.
    if (mode != UnloadMode::ControlMenu) return;
    cancel = true;
    cmdCancel_Click();
}

}  // namespace glimra
