#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include "win32/pictures/ColourConversion.h"

namespace glimra::win32 {

// A CMYK frame read as 32-bit BGRA in the display's colours, through the conversion made ready
// from the picture's own CMYK profile: the platform's own conversion knows no profile, and
// takes every ink for the same. `conversion` outlives what this makes.
Microsoft::WRL::ComPtr<IWICBitmapSource> CmykThroughProfile(IWICBitmapSource* cmyk,
                                                            const ColourConversion& conversion);

}  // namespace glimra::win32
