#pragma once

#include <span>
#include <string>

#include "win32/base/Scoped.h"

namespace glimra::win32 {

// The calls a decoder's start relies on that a system may refuse or get wrong; the tests put
// refusing ones in their place.
struct StartCalls {
    decltype(&UpdateProcThreadAttribute) listHandles = &UpdateProcThreadAttribute;
    decltype(&AssignProcessToJobObject) assignToJob = &AssignProcessToJobObject;
};

// A decoder process that runs, and the job that holds it.
struct StartedDecoder {
    ScopedHandle job;
    ScopedHandle process;
};

// Starts `program` as a decoder: `channel` (the channel's variable's value) in its
// environment, only the `inherited` handles handed to it, in a job that ends it with the
// program and bounds its memory to `memoryBytes`. Nothing is started without the handle list
// or without the job: a process that could not be put in it (or is not in it when the system
// said it was) is ended before it ran an instruction of its own. The handles are inheritable
// only for the call that starts it.
StartedDecoder StartDecoder(const std::wstring& program, const std::wstring& channel,
                            std::span<const HANDLE> inherited, size_t memoryBytes,
                            const StartCalls& calls);

}  // namespace glimra::win32
