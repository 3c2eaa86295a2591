#include "win32/system/Win32MessageBoxes.h"

#include <utility>

namespace glimra::win32 {

Win32MessageBoxes::Win32MessageBoxes(std::function<HWND()> owner) : owner_(std::move(owner)) {}

MessageAnswer Win32MessageBoxes::Show(const std::wstring& text, const std::wstring& caption,
                                      MessageButtons buttons) {
    // No icon flag: the boxes carry no icon and play the default sound.
    const UINT style = (buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK) | MB_APPLMODAL;
    const HWND owner = owner_ ? owner_() : nullptr;
    switch (MessageBoxW(owner, text.c_str(), caption.c_str(), style)) {
        case IDOK:
            return MessageAnswer::Ok;
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        default:
            return MessageAnswer::None;
    }
}

}  // namespace glimra::win32
