// The options dialog's validation and saving, and its OK, Apply, Preview and Cancel.
#include "options/frmGlimraOptions.h"

#include "options/OptionsTexts.h"
#include "platform/ScopedFlag.h"
#include "settings/SettingKeys.h"
#include "settings/ValueRules.h"

namespace glimra {

void frmGlimraOptions::ValidateOptions() {
    MessageBoxes& messages = ports_.messages;
    if (MissingFolder())
        messages.Show(texts::kChooseFolder, texts::kProgramTitle, MessageButtons::Ok);
    if (MissingSeconds())
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

// A field the user must fill: one set by policy is the administrator's, whatever it holds.
bool frmGlimraOptions::MissingFolder() {
    return txtPathLocation.Text().empty() && !ByPolicy(keys::kPath);
}

bool frmGlimraOptions::MissingSeconds() {
    return txtSecondsToDisplay.Text().empty() && !ByPolicy(keys::kSecondsToDisplay);
}

void frmGlimraOptions::SaveOptions() {
    lastSave_ = SaveOutcome::NoFolder;
    if (MissingFolder()) return;
    const FolderError listed = AssignListsForSave(txtPathLocation.Text());
    switch (ByPolicy(keys::kPath) ? FolderError::None : listed) {
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
    if (MissingSeconds()) return;
    std::optional<std::int32_t> number;
    if (!ByPolicy(keys::kSecondsToDisplay)) {
        std::wstring seconds = txtSecondsToDisplay.Text();
        std::erase(seconds, L' ');
        txtSecondsToDisplay.SetText(seconds);
        number = ReadLocalWholeNumber(seconds, ports_.locale.DecimalSeparator());
        lastSave_ = seconds.empty() ? SaveOutcome::NoSeconds : SaveOutcome::SecondsRefused;
        if (!number) return;
    }
    const std::wstring folder = txtPathLocation.Text();
    // The first write that fails ends the save: "Initialized" is written last, so a store that
    // refused a value is never marked as configured.
    SettingsStore& store = ports_.settings;
    lastSave_ = SaveOutcome::WriteFailed;
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {keys::kPath, folder},
        {keys::kSecondsToDisplay, number ? std::to_wstring(*number) : L""},
        {keys::kAlwaysOnTop, std::to_wstring(chkAlwaysOnTop.Value())},
        {keys::kHideMousePointer, std::to_wstring(chkMousePointer.Value())},
        {keys::kDisplayInRandomOrder, std::to_wstring(chkRandomImages.Value())},
        {keys::kDisplayImageNumber, std::to_wstring(chkDisplayImageNumber.Value())},
        {keys::kDisplayImageFileName, std::to_wstring(chkImageFileName.Value())},
        {keys::kInitialized, keys::kTrue},
    };
    for (const auto& [key, value] : values) {
        if (ByPolicy(key)) continue;  // the administrator's, not the user's to store
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
    if (MissingFolder() || MissingSeconds()) return;
    if (SaveRefused()) return;
    // A folder set by policy cannot be browsed for another: the show starts as it is.
    const bool noPictures = FilePath.ListCount() < 1;
    if (!noPictures || ByPolicy(keys::kPath)) {
        ReadDialogForced();
        if (blnDialogForced) {
            slideShow_->StartSlideShow(noPictures);
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
    const FolderCheckedOnce::Remembering once(folders_);
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

}  // namespace glimra
