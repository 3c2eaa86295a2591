#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/PixelBuffer.h"
#include "win32/base/Windows.h"
#include "win32/pictures/Canvas.h"

namespace glimra::win32::testing {

using Bytes = std::vector<std::uint8_t>;

// Colours are 0xRRGGBB; the pictures' pixels are opaque.
using Colors = std::array<std::uint32_t, 4>;  // top-left, top-right, bottom-left, bottom-right

inline constexpr std::uint32_t kRed = 0xE01818;
inline constexpr std::uint32_t kGreen = 0x18C018;
inline constexpr std::uint32_t kBlue = 0x1818E0;
inline constexpr std::uint32_t kYellow = 0xE0E018;
inline constexpr Colors kQuadrants = {kRed, kGreen, kBlue, kYellow};

// A width x height picture of one colour, or of four quadrants.
PixelBuffer Solid(int width, int height, std::uint32_t color);
PixelBuffer Quadrants(int width, int height, const Colors& colors = kQuadrants);

// What `draw` puts on a black width x height canvas.
PixelBuffer Drawn(int width, int height, const std::function<void(Canvas&)>& draw);

// A pixel's colour, and the largest difference of two colours in any channel.
std::uint32_t ColorAt(const PixelBuffer& picture, int x, int y);
int ColorDistance(std::uint32_t a, std::uint32_t b);

// Files written by the platform's own encoders. The GIF holds one frame per picture, all of
// the first one's size.
Bytes EncodeJpeg(const PixelBuffer& picture);
Bytes EncodeBmp(const PixelBuffer& picture);
Bytes EncodePng(const PixelBuffer& picture);
Bytes EncodeGif(const std::vector<PixelBuffer>& frames);

// An icon of square 32-bit images with all-opaque masks, one per entry, in the given order.
struct IconImage {
    int size;  // 1 to 256
    std::uint32_t color;
};
Bytes MakeIcon(const std::vector<IconImage>& images);

// A Windows metafile whose window is `width` x `height` logical units, filled with four
// quadrants; `placeable` puts the 22-byte header with that box at `unitsPerInch` in front.
Bytes MakeWmf(int width, int height, bool placeable, int unitsPerInch = 1440,
              const Colors& colors = kQuadrants);

// An enhanced metafile whose frame is `frame` (hundredths of a millimetre), filled with four
// quadrants.
Bytes MakeEmf(const RECT& frame, const Colors& colors = kQuadrants);

// The JPEG with an EXIF block carrying `orientation` put right after its start marker.
Bytes WithExifOrientation(const Bytes& jpeg, int orientation);

// The stored picture that shows `upright` once turned after `orientation`.
PixelBuffer StoredForOrientation(const PixelBuffer& upright, int orientation);

// Writes a file (any length of path); returns false when it could not.
bool WriteBytes(const std::wstring& path, const Bytes& bytes);

}  // namespace glimra::win32::testing
