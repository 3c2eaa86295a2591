#pragma once

#include <cstddef>
#include <cstdint>

namespace glimra {

// The platform's metafile players trust what the records say about themselves, so a damaged
// or hostile metafile makes them read and write outside it. These walk every record before a
// metafile is played: each record at least as large as its fixed fields and inside the file,
// every object index below the header's handle count, every count, offset and length inside
// its record, every bitmap within the picture bounds, and the end-of-file record present.

// An enhanced metafile (its header record first).
bool EmfRecordsSound(const std::uint8_t* data, std::size_t size);

// A Windows metafile from its 18-byte header on (any placeable header already skipped).
bool WmfRecordsSound(const std::uint8_t* data, std::size_t size);

}  // namespace glimra
