#pragma once

#include <cstddef>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// The memory a decoder process holds, of every kind a codec could take it in: its commit
// charge (what it allocated, or the most the job saw it commit) with the commit of the
// sections it maps (Windows 10 22H2 and later tell it), or its working set, which counts the
// pages of the sections it mapped and wrote (Wine's counts them as Windows' does, until the
// process trims it). `given` is the size of the sections the program gave it, which it maps
// too and which are not its own.
size_t MemoryHeld(HANDLE process, HANDLE job, size_t given);

}  // namespace glimra::win32
