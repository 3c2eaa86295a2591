#include "options/frmGlimraOptions.h"

#include "screensaver/frmLumivue.h"

namespace glimra {
namespace {

FormDesign OptionsDesign() {
    FormDesign design;
    design.caption = L"Glimra ScreenSaver Options";
    design.border = BorderStyle::FixedDialog;
    design.width = 6150;
    design.height = 4920;
    design.backColor = kButtonFace;
    return design;
}

}  // namespace

frmGlimraOptions::frmGlimraOptions(Application& app, const Ports& ports)
    : Form(app, OptionsDesign()), ports_(ports) {}

void frmGlimraOptions::Form_Load() {
    Move((ports_.screen.Width() - Width()) / 2, (ports_.screen.Height() - Height()) / 2);
}

void frmGlimraOptions::cmdCancel_Click() {
    if (blnDialogForced) {
        lumivue_->Show();
        Unload();
    } else {
        Unload();
        lumivue_->Unload();
    }
}

void frmGlimraOptions::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    // The close box does what Cancel does, so no hidden window is left running.
    if (mode != UnloadMode::ControlMenu) return;
    cancel = true;
    cmdCancel_Click();
}

}  // namespace glimra
