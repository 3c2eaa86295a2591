#pragma once

#include <string>

namespace glimra {

// What the program knows about itself: where it is installed and what its version
// information says. Read once at start; none of it changes while the program runs.
struct ProgramDetails {
    std::wstring folder;       // the folder holding the program file, without a trailing backslash
    int major = 0;             // version 1.0.203 (file version 1.00.0203): major 1,
    int minor = 0;             // minor 0
    int revision = 0;          // and revision 203
    std::wstring productName;  // "Glimra ScreenSaver"
    std::wstring description;  // the one-sentence description the About and Help pages show
};

}  // namespace glimra
