#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace glimra {

// One spare pixel store kept between pictures. A picture's pixels go into the memory of the
// last large picture released, which is already mapped, rather than into fresh memory that
// the system maps in a page at a time as it is first written: for a screen-sized picture that
// costs as much as reducing it. The slide show releases the picture before last at every
// change, so the spare is there when the next one is reduced.

// An empty store with room for `count` pixels: the spare when it is large enough.
std::vector<std::uint32_t> TakePixelStore(std::size_t count);

// Keeps a large store as the spare, in place of any earlier one; small ones are freed.
void ReturnPixelStore(std::vector<std::uint32_t>&& store);

}  // namespace glimra
