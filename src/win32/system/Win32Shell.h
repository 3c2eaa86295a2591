#pragma once

#include <functional>
#include <string>

#include "platform/Shell.h"
#include "win32/base/Windows.h"

#include <shellapi.h>

namespace glimra::win32 {

// The shell's open call, in the form of ShellExecuteW; tests can put a recorder in its place.
using ShellExecuteCall = std::function<HINSTANCE(HWND, const wchar_t*, const wchar_t*,
                                                 const wchar_t*, const wchar_t*, int)>;

// Opens targets with the shell's "Open" verb, owned by the window `owner` names at the time
// of the call, with the program's folder as working folder. The wide call keeps every name
// intact, so a program installed in a folder outside the system's code page still opens its
// help page.
class Win32Shell : public Shell {
  public:
    Win32Shell(std::function<HWND()> owner, std::wstring programFolder,
               ShellExecuteCall execute = ShellExecuteW);
    void Open(const std::wstring& target) override;

  private:
    std::function<HWND()> owner_;
    std::wstring workingFolder_;
    ShellExecuteCall execute_;
};

}  // namespace glimra::win32
