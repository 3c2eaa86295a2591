#include "imaging/HeaderChecks.h"

#include <optional>

#include "imaging/ByteView.h"

namespace glimra {
namespace {

bool SizeAllowed(std::uint64_t width, std::uint64_t height, std::uint64_t maxSide) {
    return width >= 1 && height >= 1 && width <= maxSide && height <= maxSide &&
           width * height <= kMaxPicturePixels;
}

// --- bitmaps

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

bool ValidBitCount(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::uint64_t RowBytes(std::uint64_t width, std::uint32_t bits) {
    return (width * bits + 31) / 32 * 4;
}

// Walks RLE8 or RLE4 data: every run and every jump stays inside the picture and the data,
// up to the end-of-picture code.
bool RleInside(const ByteView& file, std::uint64_t pos, std::uint64_t width, std::uint64_t height,
               bool fourBits) {
    std::uint64_t x = 0, y = 0;
    while (file.Has(pos, 2)) {
        const std::uint32_t count = file.U8(pos), value = file.U8(pos + 1);
        pos += 2;
        if (count > 0) {  // a run of `count` pixels
            if (y >= height || x + count > width) return false;
            x += count;
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // a jump right and up
            if (!file.Has(pos, 2)) return false;
            x += file.U8(pos);
            y += file.U8(pos + 1);
            pos += 2;
            if (x > width || y > height) return false;
        } else {  // `value` pixels written out, padded to 16 bits
            const std::uint64_t bytes = fourBits ? (value + 1) / 2 : value;
            if (y >= height || x + value > width || !file.Has(pos, bytes)) return false;
            x += value;
            pos += (bytes + 1) & ~std::uint64_t{1};
        }
    }
    return false;  // every encoder ends the data with the end-of-picture code
}

bool BmpSound(const ByteView& file) {
    if (file.U16(0) != 0x4D42) return false;  // "BM"
    const std::uint64_t pixelsAt = file.U32(10);
    const std::uint32_t headerSize = file.U32(14);
    std::uint64_t width, height, paletteEntryBytes;
    std::uint32_t bits, planes, compression = kRgb, colorsUsed = 0;
    bool bottomUp = true;
    if (headerSize == 12) {  // the old core header
        width = file.U16(18);
        height = file.U16(20);
        planes = file.U16(22);
        bits = file.U16(24);
        paletteEntryBytes = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        const std::int32_t w = file.I32(18), h = file.I32(22);
        if (w <= 0 || h == 0 || h == INT32_MIN) return false;
        width = static_cast<std::uint64_t>(w);
        bottomUp = h > 0;
        height = static_cast<std::uint64_t>(h > 0 ? std::int64_t{h} : -std::int64_t{h});
        planes = file.U16(26);
        bits = file.U16(28);
        compression = file.U32(30);
        colorsUsed = file.U32(46);
        paletteEntryBytes = 4;
    } else {
        return false;
    }
    const std::uint64_t headerEnd = 14 + std::uint64_t{headerSize};
    if (!file.Has(0, headerEnd) || planes != 1 || !ValidBitCount(bits) ||
        !SizeAllowed(width, height, kMaxPictureSide)) {
        return false;
    }
    // Colour masks follow a 40-byte header; the palette follows them.
    std::uint64_t paletteAt = headerEnd;
    if (compression == kBitFields) {
        if (bits != 16 && bits != 32) return false;
        if (headerSize == 40) paletteAt += 12;
    } else if (compression == kRle8 || compression == kRle4) {
        if (bits != (compression == kRle8 ? 8u : 4u) || !bottomUp) return false;
    } else if (compression != kRgb) {
        return false;  // embedded JPEG or PNG, or unknown
    }
    if (bits <= 8) {
        const std::uint64_t most = std::uint64_t{1} << bits;
        if (colorsUsed > most) return false;
        const std::uint64_t entries = colorsUsed == 0 ? most : colorsUsed;
        if (!file.Has(paletteAt, entries * paletteEntryBytes)) return false;
    }
    if (pixelsAt < headerEnd || pixelsAt > file.Size()) return false;
    if (compression == kRle8 || compression == kRle4) {
        return RleInside(file, pixelsAt, width, height, compression == kRle4);
    }
    // Every row inside the file; the last one may lack its padding.
    const std::uint64_t lastRow = (width * bits + 7) / 8;
    return file.Has(pixelsAt, RowBytes(width, bits) * (height - 1) + lastRow);
}

// --- GIF

// Reads the codes of GIF image data, which lies in sub-blocks of up to 255 bytes.
class SubBlockBits {
  public:
    SubBlockBits(const ByteView& file, std::uint64_t pos) : file_(file), pos_(pos) {}

    // The next code of `width` bits; false at the end of the data.
    bool Next(int width, std::uint32_t& code) {
        while (count_ < width) {
            if (left_ == 0) {
                if (!file_.Has(pos_, 1)) return false;
                left_ = file_.U8(pos_++);
                if (left_ == 0) {
                    ended_ = true;
                    return false;
                }
                if (!file_.Has(pos_, left_)) return false;
            }
            bits_ |= file_.U8(pos_++) << count_;
            count_ += 8;
            --left_;
        }
        code = bits_ & ((1u << width) - 1);
        bits_ >>= width;
        count_ -= width;
        return true;
    }

    // Skips to just past the block terminator; false when the data ends first.
    bool SkipRest(std::uint64_t& end) {
        if (!ended_) {
            pos_ += left_;
            for (;;) {
                if (!file_.Has(pos_, 1)) return false;
                const std::uint32_t length = file_.U8(pos_++);
                if (length == 0) break;
                if (!file_.Has(pos_, length)) return false;
                pos_ += length;
            }
        }
        end = pos_;
        return true;
    }

  private:
    const ByteView& file_;
    std::uint64_t pos_;
    std::uint32_t left_ = 0;  // bytes left in the current sub-block
    std::uint32_t bits_ = 0;
    int count_ = 0;
    bool ended_ = false;
};

// Walks one image's LZW codes: each code must be one the decoder has defined. Leaves `pos`
// just past the image data.
bool LzwSound(const ByteView& file, std::uint64_t& pos) {
    const std::uint32_t minimum = file.U8(pos);
    if (minimum < 2 || minimum > 8) return false;
    SubBlockBits bits(file, pos + 1);
    const std::uint32_t clear = 1u << minimum, end = clear + 1;
    std::uint32_t next = clear + 2, code = 0;
    int width = static_cast<int>(minimum) + 1;
    bool afterClear = true;
    while (bits.Next(width, code)) {
        if (code == clear) {
            next = clear + 2;
            width = static_cast<int>(minimum) + 1;
            afterClear = true;
            continue;
        }
        if (code == end) break;
        if (afterClear) {
            if (code > clear) return false;  // the first code is a colour
            afterClear = false;
            continue;
        }
        if (code > next) return false;  // `next` itself is the one code defined as it is read
        if (next < 4096) {
            ++next;
            if (next == (1u << width) && width < 12) ++width;
        }
    }
    return bits.SkipRest(pos);
}

bool SkipSubBlocks(const ByteView& file, std::uint64_t& pos) {
    for (;;) {
        if (!file.Has(pos, 1)) return false;
        const std::uint32_t length = file.U8(pos++);
        if (length == 0) return true;
        if (!file.Has(pos, length)) return false;
        pos += length;
    }
}

std::uint64_t ColorTableBytes(std::uint32_t flags) {
    return (flags & 0x80) ? 3ull << ((flags & 7) + 1) : 0;
}

bool GifSound(const ByteView& file) {
    if (!(file.U32(0) == 0x38464947 && (file.U16(4) == 0x6137 || file.U16(4) == 0x6139))) {
        return false;  // "GIF87a" or "GIF89a"
    }
    if (!file.Has(0, 13) || !SizeAllowed(file.U16(6), file.U16(8), kMaxPictureSide)) return false;
    std::uint64_t pos = 13 + ColorTableBytes(file.U8(10));
    int images = 0;
    std::uint64_t area = 0;  // decoders that read every frame hold them all
    while (file.Has(pos, 1)) {
        const std::uint32_t block = file.U8(pos++);
        if (block == 0x3B) break;  // the trailer
        if (block == 0x21) {       // an extension: its label, then sub-blocks
            ++pos;
            if (!SkipSubBlocks(file, pos)) return false;
        } else if (block == 0x2C) {  // an image
            area += std::uint64_t{file.U16(pos + 4)} * file.U16(pos + 6);
            if (!file.Has(pos, 9) || area > kMaxPicturePixels ||
                !SizeAllowed(file.U16(pos + 4), file.U16(pos + 6), kMaxPictureSide)) {
                return false;
            }
            pos += 9 + ColorTableBytes(file.U8(pos + 8));
            if (!LzwSound(file, pos)) return false;
            ++images;
        } else {
            return images > 0;  // what follows the images is not read
        }
    }
    return images > 0;
}

// --- JPEG

bool IsFrameMarker(std::uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The next marker from `pos` on, as the platform's decoder finds it: bytes other than FF
// between two segments (damage some writers leave) are passed over, FF fill bytes too, and an
// FF 00 there is no marker. `pos` is left after the marker; none at the end of the file.
std::optional<std::uint32_t> NextMarker(const ByteView& file, std::uint64_t& pos) {
    for (;;) {
        while (file.Has(pos, 1) && file.U8(pos) != 0xFF)
            ++pos;
        while (file.Has(pos, 1) && file.U8(pos) == 0xFF)
            ++pos;
        if (!file.Has(pos, 1)) return std::nullopt;
        const std::uint32_t marker = file.U8(pos++);
        if (marker != 0x00) return marker;
    }
}

bool JpegSound(const ByteView& file) {
    if (file.U16Be(0) != 0xFFD8) return false;
    std::uint64_t pos = 2;
    bool framed = false;
    for (;;) {
        const std::optional<std::uint32_t> next = NextMarker(file, pos);
        if (!next) return false;
        const std::uint32_t marker = *next;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD8 || marker == 0xD9) return false;  // no picture before the end
        const std::uint32_t length = file.U16Be(pos);
        if (length < 2 || !file.Has(pos, length)) return false;
        if (marker == 0xDA) return framed;  // the first scan: its data follows
        if (IsFrameMarker(marker)) {
            const std::uint32_t precision = file.U8(pos + 2), components = file.U8(pos + 7);
            if (framed || length < 8 || (precision != 8 && precision != 12) ||
                !SizeAllowed(file.U16Be(pos + 5), file.U16Be(pos + 3), kMaxPictureSide) ||
                components < 1 || components > 4 || length < 8 + 3 * components) {
                return false;  // a second frame, or a height left to a later marker
            }
            for (std::uint32_t i = 0; i < components; ++i) {
                const std::uint32_t sampling = file.U8(pos + 8 + 3 * i + 1);
                if ((sampling >> 4) < 1 || (sampling >> 4) > 4 || (sampling & 15) < 1 ||
                    (sampling & 15) > 4) {
                    return false;
                }
            }
            framed = true;
        }
        pos += length;
    }
}

// --- icons

// One image of an icon, of `bytes` at `at`; its pixels are added to `area`.
bool IconImageSound(const ByteView& file, std::uint64_t at, std::uint64_t bytes,
                    std::uint64_t& area) {
    if (file.U32Be(at) == 0x89504E47 && file.U32Be(at + 4) == 0x0D0A1A0A) {  // PNG
        area += std::uint64_t{file.U32Be(at + 16)} * file.U32Be(at + 20);
        return bytes >= 33 && file.U32Be(at + 12) == 0x49484452 &&  // "IHDR"
               SizeAllowed(file.U32Be(at + 16), file.U32Be(at + 20), kMaxIconSide);
    }
    const std::uint32_t headerSize = file.U32(at);
    const std::int32_t width = file.I32(at + 4), doubleHeight = file.I32(at + 8);
    const std::uint32_t bits = file.U16(at + 14), compression = file.U32(at + 16);
    const std::uint32_t colorsUsed = file.U32(at + 32);
    // The height counts the colour rows and the mask rows.
    if (headerSize < 40 || headerSize > bytes || width <= 0 || doubleHeight <= 0 ||
        !ValidBitCount(bits) || (compression != kRgb && compression != kBitFields) ||
        !SizeAllowed(static_cast<std::uint64_t>(width),
                     static_cast<std::uint64_t>(doubleHeight + 1) / 2, kMaxIconSide)) {
        return false;
    }
    const std::uint64_t height = static_cast<std::uint64_t>(doubleHeight + 1) / 2;
    area += static_cast<std::uint64_t>(width) * height;
    std::uint64_t palette = 0;
    if (bits <= 8) {
        if (colorsUsed > (1u << bits)) return false;
        palette = 4 * std::uint64_t{colorsUsed == 0 ? 1u << bits : colorsUsed};
    }
    return headerSize + palette + RowBytes(static_cast<std::uint64_t>(width), bits) * height <=
           bytes;
}

bool IconSound(const ByteView& file) {
    const std::uint64_t count = file.U16(4);
    if (file.U16(0) != 0 || file.U16(2) != 1 || count == 0 || !file.Has(6, 16 * count)) {
        return false;
    }
    const std::uint64_t directoryEnd = 6 + 16 * count;
    // Every image is decoded to find the largest, so all of them together are bounded too.
    std::uint64_t area = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = 6 + 16 * i;
        const std::uint64_t bytes = file.U32(entry + 8), at = file.U32(entry + 12);
        if (at < directoryEnd || !file.Has(at, bytes) || !IconImageSound(file, at, bytes, area) ||
            area > kMaxIconPixels) {
            return false;
        }
    }
    return true;
}

}  // namespace

RasterKind CheckRasterHeaders(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    if (file.U16Be(0) == 0xFFD8) return JpegSound(file) ? RasterKind::Jpeg : RasterKind::None;
    if (file.U16(0) == 0x4D42) return BmpSound(file) ? RasterKind::Bmp : RasterKind::None;
    if (file.U32(0) == 0x38464947) return GifSound(file) ? RasterKind::Gif : RasterKind::None;
    if (file.U32(0) == 0x00010000) return IconSound(file) ? RasterKind::Icon : RasterKind::None;
    return RasterKind::None;
}

}  // namespace glimra
