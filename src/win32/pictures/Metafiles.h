#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "win32/pictures/Pictures.h"

namespace glimra::win32 {

// Enhanced metafiles, placeable Windows metafiles and plain Windows metafiles, recognised by
// their content. The natural size comes from the header's physical size at `dpi`.
bool LooksLikeMetafile(const std::uint8_t* data, size_t size);
std::shared_ptr<const MetafilePicture> LoadMetafile(const std::uint8_t* data, size_t size,
                                                    float dpi);

}  // namespace glimra::win32
