#pragma once

#include <objidl.h>
#include <wrl/client.h>

#include <atomic>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// A stream that reads from `inner` until `stop` is set, and fails every read after that: a
// decoder reading from it gives up within one read of its buffer, so a decode in progress
// can be abandoned when the program ends.
Microsoft::WRL::ComPtr<IStream> StoppableStream(Microsoft::WRL::ComPtr<IStream> inner,
                                                const std::atomic<bool>& stop);

}  // namespace glimra::win32
