#pragma once

#include <cstdint>
#include <span>

#include "win32/decoder/DecoderChannel.h"

namespace glimra::win32 {

// The picture every new decoder decodes before it serves, through the whole path a file takes:
// a 2 x 2 bitmap of the program's own, red and green over blue and white.
std::span<const std::uint8_t> SelfTestPicture();

// Whether `reply`, with the pixels it names in `pixels` (room for `capacity`), is that
// picture, decoded at its own size and colours.
bool IsSelfTestPicture(const DecoderReply& reply, const std::uint32_t* pixels, size_t capacity);

}  // namespace glimra::win32
