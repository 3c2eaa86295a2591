#include "win32/pictures/Metafiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/EmfMapModes.h"
#include "imaging/MetafileChecks.h"

namespace glimra::win32 {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderSize = 22;
constexpr size_t kWmfHeaderSize = 18;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr int kMaxPixels = 32767;  // larger sizes are damage, not drawings

template <typename T>
T ReadAt(const std::uint8_t* data, size_t offset) {
    T value;
    std::memcpy(&value, data + offset, sizeof(T));
    return value;
}

bool IsEmf(const std::uint8_t* data, size_t size) {
    return size >= sizeof(ENHMETAHEADER) && ReadAt<std::uint32_t>(data, 0) == EMR_HEADER &&
           ReadAt<std::uint32_t>(data, 40) == ENHMETA_SIGNATURE;
}

// A file cut short still has its header, which tells the whole length: the metafile must be
// all there before GDI plays any of it. Then every record is checked (imaging/MetafileChecks).
bool EmfComplete(const std::uint8_t* data, size_t size) {
    return ReadAt<std::uint32_t>(data, 48) <= size;
}

bool IsPlaceable(const std::uint8_t* data, size_t size) {
    return size >= kPlaceableHeaderSize + kWmfHeaderSize &&
           ReadAt<std::uint32_t>(data, 0) == kPlaceableKey;
}

bool IsPlainWmf(const std::uint8_t* data, size_t size) {
    if (size < kWmfHeaderSize) return false;
    const auto type = ReadAt<std::uint16_t>(data, 0), words = ReadAt<std::uint16_t>(data, 2);
    const auto version = ReadAt<std::uint16_t>(data, 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0300 || version == 0x0100);
}

int ToPixels(double length, double unitsPerInch, float dpi) {
    return static_cast<int>(std::lround(std::fabs(length) * dpi / unitsPerInch));
}

bool Plausible(int width, int height) {
    return width >= 1 && height >= 1 && width <= kMaxPixels && height <= kMaxPixels;
}

// The extent a plain metafile sets for its window, taken as twips (1440 per inch) as drawing
// programs commonly write them; zero when it sets none. Its records are the checked copy's.
SIZE WindowExtentOf(const std::vector<std::uint8_t>& bits) {
    for (size_t offset = kWmfHeaderSize; offset + 6 <= bits.size();) {
        const std::uint32_t words = ReadAt<std::uint32_t>(bits.data(), offset);
        const std::uint16_t function = ReadAt<std::uint16_t>(bits.data(), offset + 4);
        if (words < 3 || offset + words * 2ull > bits.size()) break;
        if (function == kSetWindowExt && words >= 5) {
            return {ReadAt<std::int16_t>(bits.data(), offset + 8),
                    ReadAt<std::int16_t>(bits.data(), offset + 6)};
        }
        offset += words * 2ull;
    }
    return {0, 0};
}

// `bits` is the checked copy (imaging/MetafileChecks), whose header tells its own length;
// `window` the rectangle of logical units the picture covers.
std::shared_ptr<const MetafilePicture> FromWindowsMetafile(const std::vector<std::uint8_t>& bits,
                                                           int width, int height,
                                                           const RECT& window) {
    ScopedWmf metafile(SetMetaFileBitsEx(static_cast<UINT>(bits.size()), bits.data()));
    if (!metafile) return nullptr;
    return std::make_shared<MetafilePicture>(width, height, std::move(metafile), window);
}

}  // namespace

bool LooksLikeMetafile(const std::uint8_t* data, size_t size) {
    return IsEmf(data, size) || IsPlaceable(data, size) || IsPlainWmf(data, size);
}

std::shared_ptr<const MetafilePicture> LoadMetafile(const std::uint8_t* data, size_t size,
                                                    float dpi) {
    if (size > UINT_MAX) return nullptr;
    if (IsEmf(data, size)) {
        if (!EmfComplete(data, size)) return nullptr;
        const auto checked = SanitisedEmf(data, size);
        if (!checked) return nullptr;
        const std::vector<std::uint8_t> bits = WithMetricModesSpelledOut(*checked);
        ScopedEmf metafile(SetEnhMetaFileBits(static_cast<UINT>(bits.size()), bits.data()));
        if (!metafile) return nullptr;
        ENHMETAHEADER header{};
        if (!GetEnhMetaFileHeader(metafile.Get(), sizeof(header), &header)) return nullptr;
        // The frame is in hundredths of a millimetre, its edges included.
        const RECTL& frame = header.rclFrame;
        const int width = ToPixels(frame.right - frame.left, 2540.0, dpi);
        const int height = ToPixels(frame.bottom - frame.top, 2540.0, dpi);
        if (!Plausible(width, height)) return nullptr;
        return std::make_shared<MetafilePicture>(width, height, std::move(metafile));
    }
    if (IsPlaceable(data, size)) {
        const double inch = ReadAt<std::uint16_t>(data, 14);
        if (inch <= 0) return nullptr;
        const int width =
            ToPixels(ReadAt<std::int16_t>(data, 10) - ReadAt<std::int16_t>(data, 6), inch, dpi);
        const int height =
            ToPixels(ReadAt<std::int16_t>(data, 12) - ReadAt<std::int16_t>(data, 8), inch, dpi);
        const std::uint8_t* wmf = data + kPlaceableHeaderSize;
        if (!Plausible(width, height) || !IsPlainWmf(wmf, size - kPlaceableHeaderSize)) {
            return nullptr;
        }
        const auto bits = SanitisedWmf(wmf, size - kPlaceableHeaderSize);
        if (!bits) return nullptr;
        const RECT box{ReadAt<std::int16_t>(data, 6), ReadAt<std::int16_t>(data, 8),
                       ReadAt<std::int16_t>(data, 10), ReadAt<std::int16_t>(data, 12)};
        return FromWindowsMetafile(*bits, width, height, box);
    }
    if (IsPlainWmf(data, size)) {
        const auto bits = SanitisedWmf(data, size);
        if (!bits) return nullptr;
        const SIZE extent = WindowExtentOf(*bits);
        const int width = ToPixels(extent.cx, 1440.0, dpi);
        const int height = ToPixels(extent.cy, 1440.0, dpi);
        if (!Plausible(width, height)) return nullptr;
        return FromWindowsMetafile(*bits, width, height, RECT{0, 0, extent.cx, extent.cy});
    }
    return nullptr;
}

}  // namespace glimra::win32
