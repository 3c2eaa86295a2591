#include "imaging/ExifOrientation.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace glimra {
namespace {

// A bounds-checked view of bytes: every read outside it reports failure instead.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t size() const { return size_; }

    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    bool U8(std::size_t offset, std::uint32_t& value) const {
        if (!Has(offset, 1)) return false;
        value = data_[offset];
        return true;
    }
    bool U16(std::size_t offset, bool bigEndian, std::uint32_t& value) const {
        if (!Has(offset, 2)) return false;
        const std::uint32_t a = data_[offset], b = data_[offset + 1];
        value = bigEndian ? (a << 8 | b) : (b << 8 | a);
        return true;
    }
    bool U32(std::size_t offset, bool bigEndian, std::uint32_t& value) const {
        std::uint32_t high, low;
        if (!U16(offset, bigEndian, bigEndian ? high : low) ||
            !U16(offset + 2, bigEndian, bigEndian ? low : high)) {
            return false;
        }
        value = high << 16 | low;
        return true;
    }
    Bytes Sub(std::size_t offset, std::size_t count) const {
        return Has(offset, count) ? Bytes(data_ + offset, count) : Bytes(nullptr, 0);
    }
    bool StartsWith(const char* text, std::size_t length) const {
        return Has(0, length) && std::memcmp(data_, text, length) == 0;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

constexpr std::uint32_t kOrientationTag = 0x0112;
constexpr std::uint32_t kShort = 3;

// The orientation in a TIFF structure (the body of an EXIF block), 1 when absent or damaged.
int TiffOrientation(const Bytes& tiff) {
    bool bigEndian;
    if (tiff.StartsWith("II", 2)) {
        bigEndian = false;
    } else if (tiff.StartsWith("MM", 2)) {
        bigEndian = true;
    } else {
        return 1;
    }
    std::uint32_t magic, ifd, count;
    if (!tiff.U16(2, bigEndian, magic) || magic != 42) return 1;
    if (!tiff.U32(4, bigEndian, ifd) || !tiff.U16(ifd, bigEndian, count)) return 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = std::size_t{ifd} + 2 + 12 * std::size_t{i};
        std::uint32_t tag, type, values, value;
        if (!tiff.U16(entry, bigEndian, tag)) return 1;
        if (tag != kOrientationTag) continue;
        // One SHORT sits in the first two bytes of the value field, in either byte order.
        if (!tiff.U16(entry + 2, bigEndian, type) || !tiff.U32(entry + 4, bigEndian, values) ||
            !tiff.U16(entry + 8, bigEndian, value) || type != kShort || values != 1) {
            return 1;
        }
        return (value >= 1 && value <= 8) ? static_cast<int>(value) : 1;
    }
    return 1;
}

}  // namespace

int ExifOrientation(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data == nullptr ? 0 : size);
    std::uint32_t byte;
    if (!file.StartsWith("\xFF\xD8", 2)) return 1;
    std::size_t pos = 2;
    for (;;) {
        if (!file.U8(pos, byte) || byte != 0xFF) return 1;
        while (file.U8(pos, byte) && byte == 0xFF)
            ++pos;  // fill bytes before a marker
        std::uint32_t marker;
        if (!file.U8(pos, marker)) return 1;
        ++pos;
        if (marker == 0xDA || marker == 0xD9) return 1;  // image data or the end: no EXIF
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        std::uint32_t length;
        if (!file.U16(pos, true, length) || length < 2 || !file.Has(pos, length)) return 1;
        const Bytes segment = file.Sub(pos + 2, length - 2);
        if (marker == 0xE1 && segment.StartsWith("Exif\0\0", 6)) {
            return TiffOrientation(segment.Sub(6, segment.size() - 6));
        }
        pos += length;
    }
}

std::pair<int, int> UprightSize(int width, int height, int orientation) {
    if (orientation >= 5 && orientation <= 8) return {height, width};
    return {width, height};
}

PixelBuffer ApplyOrientation(const PixelBuffer& source, int orientation) {
    const int w = source.width, h = source.height;
    if (orientation < 2 || orientation > 8 || w < 1 || h < 1 ||
        source.pixels.size() != static_cast<std::size_t>(w) * h) {
        return source;
    }
    PixelBuffer out;
    std::tie(out.width, out.height) = UprightSize(w, h, orientation);
    out.pixels.resize(source.pixels.size());
    ApplyOrientation(source, orientation, out.pixels.data());
    return out;
}

void ApplyOrientation(const PixelBuffer& source, int orientation, std::uint32_t* into) {
    const int w = source.width, h = source.height;
    if (orientation < 2 || orientation > 8 || w < 1 || h < 1 ||
        source.pixels.size() != static_cast<std::size_t>(w) * h) {
        std::copy(source.pixels.begin(), source.pixels.end(), into);
        return;
    }
    const auto [uprightWidth, uprightHeight] = UprightSize(w, h, orientation);
    // Where each result pixel comes from moves by a fixed step along a result row and down a
    // result column: from the source corner that ends up top-left.
    struct Walk {
        bool right, bottom;
        std::ptrdiff_t alongRow, downColumn;
    };
    const std::ptrdiff_t W = w;
    static constexpr bool kL = false, kR = true, kT = false, kB = true;
    const Walk walks[] = {
        {kR, kT, -1, W},   // 2
        {kR, kB, -1, -W},  // 3
        {kL, kB, 1, -W},   // 4
        {kL, kT, W, 1},    // 5
        {kL, kB, -W, 1},   // 6
        {kR, kB, -W, -1},  // 7
        {kR, kT, W, -1},   // 8
    };
    const Walk& walk = walks[orientation - 2];
    std::ptrdiff_t rowStart = (walk.bottom ? (h - 1) * W : 0) + (walk.right ? W - 1 : 0);
    std::uint32_t* dst = into;
    for (int y = 0; y < uprightHeight; ++y, rowStart += walk.downColumn) {
        std::ptrdiff_t from = rowStart;
        for (int x = 0; x < uprightWidth; ++x, from += walk.alongRow)
            *dst++ = source.pixels[from];
    }
}

}  // namespace glimra
