#include "win32/system/Win32Shell.h"

#include <utility>

namespace glimra::win32 {

// The folder keeps a trailing backslash so that a program at a drive's root ("C:") works in
// that root, not in the drive's current folder.
Win32Shell::Win32Shell(std::function<HWND()> owner, std::wstring programFolder,
                       ShellExecuteCall execute)
    : owner_(std::move(owner)),
      workingFolder_(std::move(programFolder) + L"\\"),
      execute_(std::move(execute)) {}

void Win32Shell::Open(const std::wstring& target) {
    const HWND owner = owner_ ? owner_() : nullptr;
    // Parameters are an empty text, not an absent one; the result is not examined.
    execute_(owner, L"Open", target.c_str(), L"", workingFolder_.c_str(), SW_SHOWNORMAL);
}

}  // namespace glimra::win32
