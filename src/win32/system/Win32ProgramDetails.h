#pragma once

#include <string>

#include "platform/ProgramDetails.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// `module`'s file (nullptr: the running program), however long its path; empty when the
// platform cannot tell.
std::wstring ModuleFile(HMODULE module);

// The folder that holds `module`'s file (nullptr: the running program), without a trailing
// backslash, however long the path. Empty when the platform cannot tell.
std::wstring ModuleFolder(HMODULE module);

// The version numbers, product name and description from `module`'s version resource; the
// folder is left empty. A module without version information gives zeros and empty texts.
ProgramDetails VersionDetails(HMODULE module);

// Everything, for the running program.
ProgramDetails ReadProgramDetails();

}  // namespace glimra::win32
