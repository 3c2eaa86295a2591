#pragma once

#include "win32/base/Windows.h"
#include "win32/decoder/DecoderLadder.h"

namespace glimra::win32 {

// The mitigation policies a decoder starts with. Every decoder loads the DLLs of the
// system's names from the system folder first; with kMitigations it also makes no code at run
// time, loads no image from a remote place or of low integrity, ends at the first bad handle
// and loads no extension point (hooks, input methods, shims).
inline DWORD64 MitigationPolicy(DecoderLevels levels) {
    DWORD64 policy = PROCESS_CREATION_MITIGATION_POLICY_IMAGE_LOAD_PREFER_SYSTEM32_ALWAYS_ON;
    if (levels & kMitigations) {
        policy |= PROCESS_CREATION_MITIGATION_POLICY_PROHIBIT_DYNAMIC_CODE_ALWAYS_ON |
                  PROCESS_CREATION_MITIGATION_POLICY_IMAGE_LOAD_NO_REMOTE_ALWAYS_ON |
                  PROCESS_CREATION_MITIGATION_POLICY_IMAGE_LOAD_NO_LOW_LABEL_ALWAYS_ON |
                  PROCESS_CREATION_MITIGATION_POLICY_STRICT_HANDLE_CHECKS_ALWAYS_ON |
                  PROCESS_CREATION_MITIGATION_POLICY_EXTENSION_POINT_DISABLE_ALWAYS_ON;
    }
    return policy;
}

// With kNoChildren, the decoder may start no process, whatever its job and token allow.
inline constexpr DWORD kChildProcessPolicy = PROCESS_CREATION_CHILD_PROCESS_RESTRICTED;

}  // namespace glimra::win32
