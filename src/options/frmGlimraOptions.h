#pragma once

#include <array>
#include <string>

#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/FolderLists.h"
#include "controls/Form.h"
#include "controls/Frame.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/Line.h"
#include "controls/PictureBox.h"
#include "controls/TabStrip.h"
#include "controls/TextBox.h"
#include "options/FolderCheckedOnce.h"
#include "options/SlideShowWindow.h"
#include "platform/Ports.h"

namespace glimra {

// The options dialog: five tab pages on which the user chooses the folder of pictures and the
// slide show's preferences, previews it, and finds the about texts and the help links.
class frmGlimraOptions : public Form {
    // What the folder lists read the disk through; made before them.
    FolderCheckedOnce folders_;

  public:
    frmGlimraOptions(Application& app, const Ports& ports);
    // The slide-show window that OK, Preview and Cancel hand over to or close.
    void Connect(SlideShowWindow& slideShow) { slideShow_ = &slideShow; }

    // The dialog's own controls: the tab strip, its five pages and the three buttons.
    TabStrip tbsOptions;
    std::array<PictureBox, 5> picOptions;
    CommandButton cmdOK;
    CommandButton cmdCancel;
    CommandButton cmdApply;

    // Page of tab 1: the folder.
    Frame fraSample1;
    TextBox txtPathLocation;
    CommandButton cmdBrowse;
    DriveListBox DrivePath;
    DirListBox DirPath;
    FileListBox FilePath;
    Label lblImagesToDisplay;
    Label lblRunFirstTime;
    Label lblNotify;

    // Page of tab 2: the preferences.
    Frame fraSample3;
    Label lblSecondsDisplay;
    TextBox txtSecondsToDisplay;
    Label lblSecondsDisplay2;
    CheckBox chkMousePointer;
    CheckBox chkAlwaysOnTop;
    CheckBox chkRandomImages;
    Label lblDisplayStats;
    CheckBox chkDisplayImageNumber;
    CheckBox chkImageFileName;

    // Page of tab 3: the preview.
    Frame fraSample4;
    Image imgPreview;
    CommandButton cmdPreview;
    Label lblPreview;

    // Page of tab 4: about.
    Frame fraSample2;
    Image Image1;
    Label lblAppTitle;
    Label lblAppVersion;
    Label lblCopyright;
    Line Line1;
    Label lblDistribution;

    // Page of tab 5: help and download.
    Frame fraSample5;
    Image imgMe;
    Label lblComments;
    Label lblComments2;
    Label lblDeveloper;
    Image imgHelpLink;
    Label lblHelpLink;
    Image imgDownloadLink;
    Label lblDownloadLink;

    // Values the dialog keeps for its life.
    std::wstring strHelpPagePath;
    std::wstring strDownloadAddress;
    // The stored "OptionsDialogForced" as last read by OK or Preview.
    bool blnDialogForced = false;

    // Handlers.
    void tbsOptions_Click();
    void cmdBrowse_Click();
    void DrivePath_Change();
    void DirPath_Change();
    void DirPath_Click();
    void FilePath_Click();
    void FilePath_DblClick();
    void cmdCancel_Click();
    void cmdOK_Click();
    void cmdApply_Click();
    void cmdPreview_Click();
    void ClearHint();
    void ValidateOptions();
    void SaveOptions();

    // The links' two looks.
    void HighlightHelpLink();
    void RestoreHelpLink();
    void HighlightDownloadLink();
    void RestoreDownloadLink();

    void Form_KeyDown(int keyCode, int shift) override;

  protected:
    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;

  private:
    // How the last save ended: stored, or which field kept it from storing anything.
    enum class SaveOutcome {
        Stored,
        NoFolder,
        FolderRefused,
        DeviceUnavailable,  // the folder's drive has no medium or is not connected
        NoSeconds,
        SecondsRefused,
        WriteFailed
    };

    // The window's design, handed to the form before any control is made.
    static FormDesign OptionsDesign();
    void LayOut();
    void WireEvents();
    void PointListsAt(const std::wstring& folder);
    FolderError AssignListsForSave(const std::wstring& folder);
    void PointListsForApply(const std::wstring& folder);
    // The last save stored nothing because a field was refused (not because it was empty).
    bool SaveRefused() const {
        return lastSave_ == SaveOutcome::FolderRefused ||
               lastSave_ == SaveOutcome::DeviceUnavailable ||
               lastSave_ == SaveOutcome::SecondsRefused;
    }
    void AcceptOptions();
    void EndProgram();
    void ReadDialogForced();
    void OpenLink(const std::wstring& target);
    void ShowDriveUnavailable();
    // Settings an administrator's policy sets are shown with the policy's value and cannot be
    // changed: their controls are off, their tips say why, and saving leaves them unwritten.
    bool ByPolicy(const wchar_t* key) const { return ports_.settings.SetByPolicy(key); }
    void LockPolicySettings();
    bool MissingFolder();
    bool MissingSeconds();

    const Ports& ports_;
    SlideShowWindow* slideShow_ = nullptr;
    // While the dialog's own code points the lists at a folder (the load, the save, Apply), a
    // drive change it raises leaves the folder list on that folder.
    bool assigningLists_ = false;
    SaveOutcome lastSave_ = SaveOutcome::Stored;
};

}  // namespace glimra
