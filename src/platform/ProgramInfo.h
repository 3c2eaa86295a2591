#pragma once

#include <string>

namespace glimra {

// What the program's version information and its place on disk say about it.
struct ProgramDetails {
    std::wstring folder;  // the folder that holds the program file, without a final backslash
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::wstring productName;
    std::wstring description;
};

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
