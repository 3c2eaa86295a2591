// What the enhanced and the old metafile walks share: the verdict on a record, and the checks
// of the bitmaps records carry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/ByteView.h"

namespace glimra::detail {

// What a walk makes of one record: drawn as it is; played as nothing, its counts, offsets or
// bitmap running past it; or the whole file refused, its objects or its framing unsound.
enum class Verdict { kDrawn, kNothing, kRefused };

// Writes a 32-bit field of the copy a walk makes.
inline void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A bitmap inside a record: its BITMAPINFO of `infoBytes` at `info` and its pixels of
// `bitsBytes`, or, `packed`, both together in `infoBytes`. The header, the colour masks, the
// palette and, uncompressed, every row lie inside what the record gives them.
bool DibSound(const ByteView& file, std::uint64_t info, std::uint64_t infoBytes,
              std::uint64_t bitsBytes, bool packed);

// An old device-dependent bitmap at `at`, with `bytes` left in its record, as the old bit-block
// records carry it: its width, height, bytes a row, planes and bits a pixel, a word each, then
// its rows.
bool Bitmap16Sound(const ByteView& file, std::uint64_t at, std::uint64_t bytes);

}  // namespace glimra::detail
