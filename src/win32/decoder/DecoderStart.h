#pragma once

#include <span>
#include <string>

#include "win32/base/Scoped.h"
#include "win32/decoder/DecoderDesktop.h"
#include "win32/decoder/DecoderLadder.h"

namespace glimra::win32 {

// The calls a decoder's start relies on that a system may refuse or get wrong; the tests put
// refusing ones in their place.
struct StartCalls {
    decltype(&UpdateProcThreadAttribute) updateAttribute = &UpdateProcThreadAttribute;
    decltype(&AssignProcessToJobObject) assignToJob = &AssignProcessToJobObject;
};

// A decoder process that runs, the job and the desktop that hold it, and the levels of
// DecoderLadder.h it was started with.
struct StartedDecoder {
    ScopedHandle job;
    ScopedHandle process;
    ScopedDesktop desktop;
    DecoderLevels levels = 0;
};

// Starts `program` as a decoder: `channel` (the channel's variable's value) in its
// environment, only the `inherited` handles handed to it, in a job that ends it with the
// program and bounds its memory to `memoryBytes`, held by each of `levels` the system accepts:
// a level it refuses is dropped alone. Nothing is started without the handle list or without
// the job: a process that could not be put in it (or is not in it when the system said it
// was) is ended before it ran an instruction of its own. The handles are inheritable only for
// the call that starts it.
StartedDecoder StartDecoder(const std::wstring& program, const std::wstring& channel,
                            std::span<const HANDLE> inherited, size_t memoryBytes,
                            DecoderLevels levels, const StartCalls& calls);

}  // namespace glimra::win32
