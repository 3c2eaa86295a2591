#pragma once

#include <functional>

#include "platform/MessageBox.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The platform's message boxes, owned by the window `owner` names at the moment a box is
// shown: the dialog's window comes and goes with its form, the ports live for the whole run.
class Win32MessageBoxes : public MessageBoxes {
  public:
    explicit Win32MessageBoxes(std::function<HWND()> owner);
    MessageAnswer Show(const std::wstring& text, const std::wstring& caption,
                       MessageButtons buttons) override;

  private:
    std::function<HWND()> owner_;
};

}  // namespace glimra::win32
