#pragma once

#include <cstddef>

#include "win32/base/Scoped.h"
#include "win32/decoder/DecoderLadder.h"

namespace glimra::win32 {

// The job that holds a decoder: it ends the decoder when the program closes it or ends, bounds
// its memory to `memoryBytes`, lets no fault in it wait for a debugger and lets nothing break
// away from it. With kJobLimits in `levels`, it also holds one process only and forbids every
// use of the user interface beyond the decoder's own (other processes' windows, the
// clipboard, the system's settings, the display, atoms, desktops, logging off); a system that
// refuses those drops kJobLimits from `levels`. Null when no job could be made.
ScopedHandle MakeDecoderJob(size_t memoryBytes, DecoderLevels& levels);

}  // namespace glimra::win32
