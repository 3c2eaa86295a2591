// The options dialog's folder box, Browse button and drive, folder and file lists.
#include "options/frmGlimraOptions.h"

#include "options/OptionsTexts.h"
#include "platform/ScopedFlag.h"
#include "settings/SettingKeys.h"

namespace glimra {

// Points the file list, the folder list and the drive list at a folder, in that order. A
// folder the lists refuse leaves them where they were.
void frmGlimraOptions::PointListsAt(const std::wstring& folder) {
    if (folder.empty()) return;
    const ScopedFlag assigning(assigningLists_);
    const FolderCheckedOnce::Remembering once(folders_);
    FilePath.SetPath(folder);
    DirPath.SetPath(folder);
    DrivePath.SetDrive(folder);
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
    if (!ByPolicy(keys::kPath)) txtPathLocation.SetToolTipText(txtPathLocation.Text());
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

}  // namespace glimra
