#pragma once

#include <cstdint>
#include <vector>

namespace glimra {

// An enhanced metafile whose records set a metric map mode (tenths or hundredths of a
// millimetre, hundredths or thousandths of an inch, twips), with each such mode spelled out as
// the anisotropic mode and the extents that mode fixes on the metafile's reference device
// (its header's size in pixels and millimetres): the picture is the same as GDI defines it, and
// Wine's player, which draws those modes off the frame, draws it where it belongs. The extent
// records that a metric mode ignores are left out while one is in force. `emf` is a checked
// copy (imaging/MetafileChecks); it is returned as it is when it sets no metric mode or its
// reference device has no size.
std::vector<std::uint8_t> WithMetricModesSpelledOut(std::vector<std::uint8_t> emf);

}  // namespace glimra
