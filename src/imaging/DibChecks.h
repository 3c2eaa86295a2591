// The bitmap checks that the enhanced and the old metafile walks share.
#pragma once

#include <cstdint>

#include "imaging/ByteView.h"

namespace glimra::detail {

// A bitmap inside a record: its BITMAPINFO of `infoBytes` at `info` and its pixels of
// `bitsBytes`, or, `packed`, both together in `infoBytes`. The header, the colour masks, the
// palette and, uncompressed, every row lie inside what the record gives them.
bool DibSound(const ByteView& file, std::uint64_t info, std::uint64_t infoBytes,
              std::uint64_t bitsBytes, bool packed);

}  // namespace glimra::detail
