#pragma once

#include "controls/Form.h"
#include "win32/forms/MessageFilters.h"

namespace glimra::win32 {

class FormContext;

// The keyboard of a dialog window, a message filter registered while the window exists: the
// form's key preview first, Ctrl+Tab and F1 kept for it, a tab's access key given to the tab
// strip unless a control in view has the same one, and everything else to the platform's dialog
// navigation (tab order, access keys, Esc as the cancel button, no default button).
class DialogKeys : public MessageFilter {
  public:
    explicit DialogKeys(FormContext& window) : window_(window) {}
    DialogKeys(const DialogKeys&) = delete;
    DialogKeys& operator=(const DialogKeys&) = delete;
    ~DialogKeys() override { RemoveMessageFilter(*this); }

    void Start() { AddMessageFilter(*this); }
    void Stop() { RemoveMessageFilter(*this); }

    bool PreTranslate(MSG& message) override;

  private:
    // A tab's access key selects its tab, unless a control in view has the same one.
    bool SelectTabByAccessKey(wchar_t key);

    FormContext& window_;
};

// Esc anywhere on a form presses its cancel button.
void PressCancelButton(Form& form);

}  // namespace glimra::win32
