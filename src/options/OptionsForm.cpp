// The options dialog's life: made and wired, loaded, its tab pages and its close box.
#include "options/frmGlimraOptions.h"

#include "options/DownloadAddress.h"
#include "options/OptionsTexts.h"
#include "settings/SettingKeys.h"
#include "settings/ValueRules.h"

namespace glimra {
namespace {

// The first number of a check box's setting: an empty text stands for checked.
std::optional<std::int32_t> CheckValueOf(const std::wstring& stored) {
    return ReadWholeNumber(stored.empty() ? L"1" : stored);
}

}  // namespace

frmGlimraOptions::frmGlimraOptions(Application& app, const Ports& ports)
    : Form(app, OptionsDesign()),
      folders_(ports.files),
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
      DrivePath(fraSample1, L"DrivePath", folders_),
      DirPath(fraSample1, L"DirPath", folders_),
      FilePath(fraSample1, L"FilePath", folders_),
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
    LockPolicySettings();
    tbsOptions_Click();
}

void frmGlimraOptions::LockPolicySettings() {
    const std::pair<const wchar_t*, Control*> controls[] = {
        {keys::kPath, &txtPathLocation},
        {keys::kPath, &cmdBrowse},
        {keys::kSecondsToDisplay, &txtSecondsToDisplay},
        {keys::kAlwaysOnTop, &chkAlwaysOnTop},
        {keys::kHideMousePointer, &chkMousePointer},
        {keys::kDisplayInRandomOrder, &chkRandomImages},
        {keys::kDisplayImageFileName, &chkImageFileName},
        {keys::kDisplayImageNumber, &chkDisplayImageNumber},
    };
    for (const auto& [key, control] : controls) {
        if (!ByPolicy(key)) continue;
        control->SetEnabled(false);
        control->SetToolTipText(texts::kSetByAdministrator);
    }
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
    constexpr int kTab = 9, kF1 = 112, kCtrl = 2;
    // F1 opens the help page from any page, as the help link does.
    if (keyCode == kF1 && shift == 0) {
        OpenLink(strHelpPagePath);
        return;
    }
    if (keyCode != kTab || shift != kCtrl) return;
    const int s = tbsOptions.SelectedItem();
    tbsOptions.SetSelectedItem(s == static_cast<int>(tbsOptions.Tabs().size()) ? 1 : s + 1);
}

void frmGlimraOptions::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    // The close box does what Cancel does, so no hidden window is left running.
    if (mode != UnloadMode::ControlMenu) return;
    cancel = true;
    cmdCancel_Click();
}

}  // namespace glimra
