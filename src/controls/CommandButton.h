#pragma once

#include <string>

#include "controls/Control.h"

namespace glimra {

// A push button. The form's cancel button is clicked by Esc anywhere on the form.
struct CommandButtonState {
    std::wstring caption;
    bool cancel = false;
};

class CommandButton : public ControlWith<CommandButtonState> {
  public:
    explicit CommandButton(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::CommandButton, std::move(name)) {}

    const std::wstring& Caption() const { return s_.caption; }
    void SetCaption(const std::wstring& caption) { Assign(s_.caption, caption); }
    bool Cancel() const { return s_.cancel; }
    void SetCancel(bool cancel) { s_.cancel = cancel; }
};

}  // namespace glimra
