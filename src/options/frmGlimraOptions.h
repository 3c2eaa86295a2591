#pragma once

#include "controls/Form.h"
#include "platform/Ports.h"

namespace glimra {

class frmLumivue;

// The options dialog: where the user chooses the folder and the slide show's preferences.
class frmGlimraOptions : public Form {
  public:
    frmGlimraOptions(Application& app, const Ports& ports);
    void Connect(frmLumivue& lumivue) { lumivue_ = &lumivue; }

    // The stored "OptionsDialogForced" as last read by OK or Preview.
    bool blnDialogForced = false;

    void cmdCancel_Click();

  protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;

  private:
    const Ports& ports_;
    frmLumivue* lumivue_ = nullptr;
};

}  // namespace glimra
