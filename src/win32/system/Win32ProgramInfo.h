#pragma once

#include <string>

#include "platform/ProgramInfo.h"
#include "win32/base/Scoped.h"

namespace glimra::win32 {

// The argument text of this process's command line and a per-session mutex that tells
// whether another instance runs.
class Win32ProgramInfo : public ProgramInfo {
  public:
    std::wstring ArgumentText() override;
    bool AnotherInstanceRunning() override;
    ProgramDetails Details() override;

  private:
    ScopedHandle instanceMutex_;
};

// The command line without the program's name: the name ends at the closing quote when it
// begins with one, otherwise at the first blank or tab; blanks and tabs after it are dropped.
std::wstring ArgumentsOf(const std::wstring& commandLine);

}  // namespace glimra::win32
