// The bitmaps inside metafile records, checked against what their records give them.
#include "imaging/DibChecks.h"

#include "imaging/HeaderChecks.h"

namespace glimra::detail {

bool DibSound(const ByteView& file, std::uint64_t info, std::uint64_t infoBytes,
              std::uint64_t bitsBytes, bool packed) {
    const std::uint32_t headerSize = file.U32(info);
    std::uint64_t width, height, entryBytes = 4;
    std::uint32_t bits, compression = 0, colorsUsed = 0;
    if (headerSize == 12) {
        width = file.U16(info + 4);
        height = file.U16(info + 6);
        bits = file.U16(info + 10);
        entryBytes = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        const std::int32_t w = file.I32(info + 4), h = file.I32(info + 8);
        if (w <= 0 || h == 0 || h == INT32_MIN) return false;
        width = static_cast<std::uint64_t>(w);
        height = static_cast<std::uint64_t>(h > 0 ? std::int64_t{h} : -std::int64_t{h});
        bits = file.U16(info + 14);
        compression = file.U32(info + 16);
        colorsUsed = file.U32(info + 32);
    } else {
        return false;
    }
    if (!file.Has(info, infoBytes) || width < 1 || height < 1 || width > kMaxPictureSide ||
        height > kMaxPictureSide || width * height > kMaxPicturePixels ||
        !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) {
        return false;
    }
    std::uint64_t head = headerSize;
    if (compression == 3 && headerSize == 40) head += 12;  // the colour masks
    if (bits <= 8) {
        if (colorsUsed > (1u << bits)) return false;
        head += entryBytes * (colorsUsed == 0 ? 1u << bits : colorsUsed);
    }
    if (head > infoBytes) return false;
    if (packed) bitsBytes = infoBytes - head;
    if (compression == 1 || compression == 2) return bitsBytes > 0;  // RLE: the data decides
    if (compression != 0 && compression != 3) return false;
    return bitsBytes >= (width * bits + 31) / 32 * 4 * height;
}

bool Bitmap16Sound(const ByteView& file, std::uint64_t at, std::uint64_t bytes) {
    if (bytes < 10 || !file.Has(at, bytes)) return false;
    const std::int64_t width = file.I16(at), height = file.I16(at + 2);
    const std::uint64_t rowBytes = file.U16(at + 4);
    const std::uint32_t planes = file.U16(at + 6), bits = file.U16(at + 8);
    if (width < 1 || height < 1 || planes != 1 ||
        static_cast<std::uint64_t>(width * height) > kMaxPicturePixels ||
        !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) {
        return false;
    }
    // The platform makes the bitmap with rows of whole 16-bit words, whatever the record says.
    const std::uint64_t words = (static_cast<std::uint64_t>(width) * bits + 15) / 16 * 2;
    return rowBytes >= words && rowBytes * static_cast<std::uint64_t>(height) <= bytes - 10;
}

}  // namespace glimra::detail
