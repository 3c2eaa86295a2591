#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace glimra {

// The platform's metafile players trust what the records say about themselves, so a damaged
// or hostile metafile makes them read and write outside it. These walk every record before a
// metafile is played and give the bytes the platform may play, or nothing for a refused file.
//
// Refused: a header that does not hold, a record shorter than a record's own head or past the
// file, an object index at or above the header's handle count (or more objects made than it
// counts), an unknown enhanced record, no end-of-file record.
// Played as nothing, as a viewer draws the rest of the picture: a record shorter than its fixed
// fields, or whose counts, offsets, lengths or bitmap run past it, or whose bitmap is larger
// than any picture is taken. The copy leaves it out or, in an old metafile, puts in its place an
// empty brush for a record that makes an object (objects are numbered by the order they are
// made), and the pattern fill an old bit-block without a bitmap stands for (players read a
// bitmap from every old bit-block).

// An enhanced metafile (its header record first).
std::optional<std::vector<std::uint8_t>> SanitisedEmf(const std::uint8_t* data, std::size_t size);

// A Windows metafile from its 18-byte header on (any placeable header already skipped). The
// length its header gives is taken only as far as the bytes there are.
std::optional<std::vector<std::uint8_t>> SanitisedWmf(const std::uint8_t* data, std::size_t size);

}  // namespace glimra
