#pragma once

#include <cstdint>
#include <span>

namespace glimra::win32 {

// What holds the decoder beyond its job and its handle list, level by level. Each is the
// system's own mechanism; a system that refuses one level drops that level alone.
enum DecoderLevel : std::uint32_t {
    kUntrustedIntegrity = 1u << 0,  // the lowest integrity there is
    kLowIntegrity = 1u << 1,        // the integrity of a browser's tabs
    kRestrictedToken = 1u << 2,     // no privileges, administrators for denying only
    kOwnDesktop = 1u << 3,          // no window of the user's desktop to find or message
    kJobLimits = 1u << 4,           // one process, and every limit on the user interface
    kMitigations = 1u << 5,         // no dynamic code, no remote or low images, strict handles
    kNoChildren = 1u << 6,          // no child process, whatever the job says
};
using DecoderLevels = std::uint32_t;

inline constexpr DecoderLevels kEveryLevel =
    kRestrictedToken | kOwnDesktop | kJobLimits | kMitigations | kNoChildren;

// The rungs, strongest first. A decoder that cannot decode the built-in picture on one rung is
// replaced by one on the next; below the last the pictures are decoded in the program. The
// integrity goes first, since codecs may need what it forbids, then the desktop, which GDI
// may need, then the mitigations, which a codec of another vendor may break, then the token.
inline constexpr DecoderLevels kDecoderLadder[] = {
    kEveryLevel | kUntrustedIntegrity,
    kEveryLevel | kLowIntegrity,
    kEveryLevel,
    kEveryLevel & ~kOwnDesktop,
    kRestrictedToken | kJobLimits,
    kJobLimits,
    0,
};

inline constexpr std::span<const DecoderLevels> DecoderRungs() {
    return kDecoderLadder;
}

}  // namespace glimra::win32
