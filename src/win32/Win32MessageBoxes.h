#pragma once

#include <functional>

#include "platform/MessageBoxes.h"
#include "win32/Windows.h"

namespace glimra::win32 {

// The platform's message box, owned by the window `owner` names when it is asked.
class Win32MessageBoxes : public MessageBoxes {
  public:
    std::function<HWND()> owner;

    MessageAnswer Show(const std::wstring& text, const std::wstring& caption,
                       MessageButtons buttons) override {
        const HWND window = owner ? owner() : nullptr;
        const UINT style = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
        switch (MessageBoxW(window, text.c_str(), caption.c_str(), style | MB_APPLMODAL)) {
            case IDYES:
                return MessageAnswer::Yes;
            case IDNO:
                return MessageAnswer::No;
            default:
                return MessageAnswer::Ok;
        }
    }
};

}  // namespace glimra::win32
