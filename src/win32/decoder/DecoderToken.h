#pragma once

#include "win32/base/Scoped.h"
#include "win32/decoder/DecoderLadder.h"

namespace glimra::win32 {

// The decoder's token: the program's own, with every privilege but the one to traverse
// folders dropped, the administrators' group for denying only, and a default DACL that lets
// only the user and the system open what the decoder makes; then lowered to the integrity
// `levels` names. `levels` is narrowed to what the system did; null when it made no token
// (the decoder then runs with the program's).
ScopedHandle DecoderToken(DecoderLevels& levels);

}  // namespace glimra::win32
