#pragma once

#include <string>

#include "platform/ProgramDetails.h"

namespace glimra {

// What the platform tells the program about its own start.
class ProgramInfo {
  public:
    virtual ~ProgramInfo() = default;
    // The command line without the program's own name and the blanks after it.
    virtual std::wstring ArgumentText() = 0;
    // True when another instance of the program runs in this user session.
    virtual bool AnotherInstanceRunning() = 0;
    virtual ProgramDetails Details() = 0;
};

}  // namespace glimra
