#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/Picture.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/ShowTarget.h"

namespace glimra::win32 {

// What the decoder does with a file's contents: the picture in them, written into `into` at
// the size a window of `at` shows it (a KeptPixelsPicture over that memory), or nullptr.
using DecodeInto = std::function<PicturePtr(const std::uint8_t* data, size_t size,
                                            const PixelTarget& into, ShowTarget::Size at)>;

// The decoder's work in the program: the platform's codecs, and GDI for metafiles.
DecodeInto CodecDecoder(HINSTANCE resources);

// When this process was started as the program's decoder (DecoderProcess), serves the program
// with what `makeDecode` makes until the program ends, and gives the exit code. Otherwise,
// nothing, and nothing is made: the process goes on as the program.
std::optional<int> ServeIfDecoder(const std::function<DecodeInto()>& makeDecode);

}  // namespace glimra::win32
