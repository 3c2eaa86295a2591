#pragma once

#include <cstddef>
#include <cstdint>

namespace glimra {

// The largest pictures the loader accepts. A header that claims more is damage or an attack:
// decoders allocate for what the header claims before they read the pixels, so the claim is
// refused before any decoder sees it.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 28;  // 268 million
inline constexpr std::uint32_t kMaxPictureSide = 65535;
inline constexpr std::uint32_t kMaxIconSide = 1024;  // icons hold at most 256 x 256
// All the images of a GIF together are held to kMaxPicturePixels, all those of an icon to
// this: decoders read every one of them.
inline constexpr std::uint64_t kMaxIconPixels = std::uint64_t{1} << 24;

enum class RasterKind { None, Jpeg, Bmp, Gif, Icon };

// The kind of raster picture in a file's contents when its headers are sound: a known
// signature, every size within the bounds above, every structure the headers point to inside
// the file, and for bitmaps and GIFs the compressed data itself (RLE runs inside the picture,
// LZW codes that exist). None otherwise. Costs one pass over the headers, and over the data
// only for RLE bitmaps and GIFs.
RasterKind CheckRasterHeaders(const std::uint8_t* data, std::size_t size);

}  // namespace glimra
