#include "imaging/MetafileChecks.h"

#include <vector>

#include "imaging/ByteView.h"
#include "imaging/HeaderChecks.h"

namespace glimra {
namespace {

// A bitmap inside a record: its BITMAPINFO of `infoBytes` at `info` and its pixels of
// `bitsBytes`, or, `packed`, both together in `infoBytes`. The header, the colour masks, the
// palette and, uncompressed, every row lie inside what the record gives them.
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

// --- enhanced metafiles

// Record types, as the format numbers them.
enum Emr : std::uint32_t {
    kHeader = 1,
    kPolyBezier = 2,
    kPolyLineTo = 6,
    kPolyPolyline = 7,
    kPolyPolygon = 8,
    kEof = 14,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kSelectPalette = 48,
    kCreatePalette = 49,
    kSetPaletteEntries = 50,
    kResizePalette = 51,
    kPolyDraw = 56,
    kGdiComment = 70,
    kFillRgn = 71,
    kFrameRgn = 72,
    kInvertRgn = 73,
    kPaintRgn = 74,
    kExtSelectClipRgn = 75,
    kBitBlt = 76,
    kStretchBlt = 77,
    kMaskBlt = 78,
    kPlgBlt = 79,
    kSetDiBitsToDevice = 80,
    kStretchDiBits = 81,
    kExtCreateFontIndirectW = 82,
    kExtTextOutA = 83,
    kExtTextOutW = 84,
    kPolyBezier16 = 85,
    kPolyLineTo16 = 89,
    kPolyPolyline16 = 90,
    kPolyPolygon16 = 91,
    kPolyDraw16 = 92,
    kCreateMonoBrush = 93,
    kCreateDibPatternBrushPt = 94,
    kExtCreatePen = 95,
    kPolyTextOutA = 96,
    kPolyTextOutW = 97,
    kCreateColorSpace = 99,
    kSetColorSpace = 100,
    kDeleteColorSpace = 101,
    kGlsRecord = 102,
    kGlsBoundedRecord = 103,
    kDrawEscape = 105,
    kExtEscape = 106,
    kSmallTextOut = 108,
    kNamedEscape = 110,
    kSetIcmProfileA = 112,
    kSetIcmProfileW = 113,
    kAlphaBlend = 114,
    kTransparentBlt = 116,
    kGradientFill = 118,
    kSetLinkedUfis = 119,
    kColorMatchToTargetW = 121,
    kCreateColorSpaceW = 122,
};

// The least size of each record type, 1 to 122, with its fixed fields; 0 for the numbers no
// record has.
constexpr std::uint16_t kEmrMinimum[123] = {
    0,  80, 28,  28,  28,  28, 28, 32, 32, 16, 16,  16, 16,  16,  20,  20,   // 0-15
    12, 12, 12,  12,  12,  12, 12, 32, 12, 12, 16,  16, 8,   24,  24,  24,   // 16-31
    24, 8,  12,  32,  36,  12, 28, 24, 12, 28, 24,  24, 32,  40,  40,  40,   // 32-47
    12, 16, 20,  16,  8,   24, 16, 40, 28, 12, 12,  8,  8,   8,   24,  24,   // 48-63
    24, 8,  8,   12,  8,   0,  12, 32, 40, 28, 28,  16, 100, 108, 128, 140,  // 64-79
    76, 80, 104, 76,  76,  28, 28, 28, 28, 28, 32,  32, 28,  32,  32,  52,   // 80-95
    40, 40, 12,  340, 12,  12, 12, 28, 48, 16, 16,  0,  36,  16,  20,  24,   // 96-111
    20, 20, 108, 12,  108, 0,  36, 12, 16, 24, 608,                          // 112-122
};

class EmfWalk {
  public:
    EmfWalk(const ByteView& file, std::uint32_t handles) : file_(file), handles_(handles) {}

    bool Record(std::uint64_t at, std::uint32_t type, std::uint64_t size) {
        at_ = at;
        size_ = size;
        switch (type) {
            case kSelectObject:
            case kDeleteObject:
            case kSelectPalette:
            case kSetColorSpace:
            case kDeleteColorSpace:
                return Used(8);
            case kCreatePen:
            case kCreateBrushIndirect:
            case kExtCreateFontIndirectW:
            case kCreateColorSpace:
                return Created(8);
            case kCreatePalette:
                return Created(8) && Inside(16, 4 * Field16(14));
            case kSetPaletteEntries:
                return Used(8) && Inside(20, 4 * Field(16));
            case kResizePalette:
                return Used(8);
            case kCreateColorSpaceW:
                return Created(8) && Inside(608, Field(604));
            case kExtCreatePen:
                return Created(8) && Dib(12, 16, 20, 24) && Inside(52, 4 * Field(48));
            case kCreateMonoBrush:
            case kCreateDibPatternBrushPt:
                return Created(8) && Dib(16, 20, 24, 28);
            case kEof:
                return Field(8) == 0 || Inside(Field(12), 4 * Field(8));
            case kGdiComment:
            case kGlsRecord:
                return Inside(12, Field(8));
            case kGlsBoundedRecord:
                return Inside(28, Field(24));
            case kDrawEscape:
            case kExtEscape:
                return Inside(16, Field(12));
            case kNamedEscape:
                return Inside(20, Field(12) + Field(16));
            case kSetIcmProfileA:
            case kSetIcmProfileW:
                return Inside(20, Field(12) + Field(16));
            case kColorMatchToTargetW:
                return Inside(24, Field(16) + Field(20));
            case kSetLinkedUfis:
                return Inside(12, 8 * Field(8));
            case kFillRgn:
                return Used(28) && Region(32, Field(24));
            case kFrameRgn:
                return Used(28) && Region(40, Field(24));
            case kInvertRgn:
            case kPaintRgn:
                return Region(28, Field(24));
            case kExtSelectClipRgn:
                return Field(8) == 0 || Region(16, Field(8));
            case kPolyPolyline:
            case kPolyPolygon:
                return PolyPoly(8);
            case kPolyPolyline16:
            case kPolyPolygon16:
                return PolyPoly(4);
            case kPolyDraw:
                return Inside(28, 9 * Field(24));
            case kPolyDraw16:
                return Inside(28, 5 * Field(24));
            case kExtTextOutA:
            case kExtTextOutW:
                return Text(36, type == kExtTextOutW);
            case kPolyTextOutA:
            case kPolyTextOutW: {
                const std::uint64_t strings = Field(36);
                if (!Inside(40, 40 * strings)) return false;
                for (std::uint64_t i = 0; i < strings; ++i) {
                    if (!Text(40 + 40 * i, type == kPolyTextOutW)) return false;
                }
                return true;
            }
            case kSmallTextOut: {
                const std::uint32_t options = Field(20);
                const std::uint64_t clip = (options & 0x100) ? 0 : 16;  // ETO_NO_RECT
                return Inside(36 + clip, Field(16) * ((options & 0x200) ? 1 : 2));
            }
            case kBitBlt:
            case kStretchBlt:
            case kAlphaBlend:
            case kTransparentBlt:
                return Dib(84, 88, 92, 96);
            case kMaskBlt:
                return Dib(84, 88, 92, 96) && Dib(112, 116, 120, 124);
            case kPlgBlt:
                return Dib(96, 100, 104, 108) && Dib(124, 128, 132, 136);
            case kSetDiBitsToDevice:
            case kStretchDiBits:
                return Dib(48, 52, 56, 60);
            case kGradientFill: {
                const std::uint64_t vertices = Field(24), shapes = Field(28);
                const std::uint64_t perShape = Field(32) == 2 ? 3 : 2;  // triangles, rectangles
                if (!Inside(36, 16 * vertices + 4 * perShape * shapes)) return false;
                const std::uint64_t indexes = at_ + 36 + 16 * vertices;
                for (std::uint64_t i = 0; i < perShape * shapes; ++i) {
                    if (file_.U32(indexes + 4 * i) >= vertices) return false;
                }
                return true;
            }
            default:
                break;
        }
        if ((type >= kPolyBezier && type <= kPolyLineTo)) return Inside(28, 8 * Field(24));
        if (type >= kPolyBezier16 && type <= kPolyLineTo16) return Inside(28, 4 * Field(24));
        return true;
    }

  private:
    std::uint32_t Field(std::uint64_t offset) const { return file_.U32(at_ + offset); }
    std::uint32_t Field16(std::uint64_t offset) const { return file_.U16(at_ + offset); }

    // `bytes` from `offset` lie inside the record.
    bool Inside(std::uint64_t offset, std::uint64_t bytes) const {
        return offset <= size_ && bytes <= size_ - offset;
    }
    // An object slot the record creates: slot 0 is the metafile itself.
    bool Created(std::uint64_t offset) const {
        const std::uint32_t index = Field(offset);
        return index >= 1 && index < handles_;
    }
    // An object the record uses: a slot, or a stock object (the high bit set).
    bool Used(std::uint64_t offset) const {
        const std::uint32_t index = Field(offset);
        return (index & 0x80000000u) != 0 || index < handles_;
    }
    bool Dib(std::uint64_t infoAt, std::uint64_t infoBytesAt, std::uint64_t bitsAt,
             std::uint64_t bitsBytesAt) const {
        const std::uint64_t infoBytes = Field(infoBytesAt), bitsBytes = Field(bitsBytesAt);
        if (infoBytes == 0) return true;  // no bitmap: a pattern or a colour fill
        const std::uint64_t info = Field(infoAt), bits = Field(bitsAt);
        return Inside(info, infoBytes) && Inside(bits, bitsBytes) &&
               DibSound(file_, at_ + info, infoBytes, bitsBytes, false);
    }
    // Region data: a 32-byte header, then its rectangles.
    bool Region(std::uint64_t offset, std::uint64_t bytes) const {
        return bytes >= 32 && Inside(offset, bytes) && Field(offset) == 32 &&
               32 + 16 * std::uint64_t{Field(offset + 8)} <= bytes;
    }
    // Points of polygons: their count, each polygon's count, then the points.
    bool PolyPoly(std::uint64_t pointBytes) const {
        const std::uint64_t polygons = Field(24), points = Field(28);
        if (!Inside(32, 4 * polygons + pointBytes * points)) return false;
        std::uint64_t total = 0;
        for (std::uint64_t i = 0; i < polygons; ++i)
            total += Field(32 + 4 * i);
        return total <= points;
    }
    // A text structure at `offset`: its string and its character spacing inside the record.
    bool Text(std::uint64_t offset, bool wide) const {
        if (!Inside(offset, 40)) return false;
        const std::uint64_t chars = Field(offset + 8), string = Field(offset + 12);
        const std::uint32_t options = Field(offset + 16), spacing = Field(offset + 36);
        if (chars == 0) return true;
        if (!Inside(string, chars * (wide ? 2 : 1))) return false;
        return spacing == 0 || Inside(spacing, chars * ((options & 0x2000) ? 8 : 4));  // ETO_PDY
    }

    const ByteView& file_;
    std::uint32_t handles_;
    std::uint64_t at_ = 0;
    std::uint64_t size_ = 0;
};

// --- Windows metafiles

enum Wmf : std::uint16_t {
    kWmfEof = 0x0000,
    kWmfSelectClipRegion = 0x012C,
    kWmfInvertRegion = 0x012A,
    kWmfPaintRegion = 0x012B,
    kWmfSelectObject = 0x012D,
    kWmfDeleteObject = 0x01F0,
    kWmfSelectPalette = 0x0234,
    kWmfResizePalette = 0x0139,
    kWmfFillRegion = 0x0228,
    kWmfFrameRegion = 0x0429,
    kWmfAnimatePalette = 0x0436,
    kWmfSetPalEntries = 0x0037,
    kWmfCreatePalette = 0x00F7,
    kWmfCreatePatternBrush = 0x01F9,
    kWmfCreatePenIndirect = 0x02FA,
    kWmfCreateFontIndirect = 0x02FB,
    kWmfCreateBrushIndirect = 0x02FC,
    kWmfCreateRegion = 0x06FF,
    kWmfDibCreatePatternBrush = 0x0142,
    kWmfPolygon = 0x0324,
    kWmfPolyline = 0x0325,
    kWmfPolyPolygon = 0x0538,
    kWmfTextOut = 0x0521,
    kWmfExtTextOut = 0x0A32,
    kWmfEscape = 0x0626,
    kWmfBitBlt = 0x0922,
    kWmfStretchBlt = 0x0B23,
    kWmfDibBitBlt = 0x0940,
    kWmfDibStretchBlt = 0x0B41,
    kWmfSetDibToDev = 0x0D33,
    kWmfStretchDib = 0x0F43,
};

// The least number of 16-bit parameter words of the fixed-size records.
std::uint32_t WmfMinimumWords(std::uint16_t function) {
    switch (function) {
        case 0x0102:
        case 0x0103:
        case 0x0104:
        case 0x0105:
        case 0x0106:
        case 0x0107:
        case 0x0108:
        case 0x0127:
        case 0x012E:
        case kWmfSelectObject:
        case kWmfDeleteObject:
        case kWmfSelectPalette:
        case kWmfSelectClipRegion:
        case kWmfInvertRegion:
        case kWmfPaintRegion:
        case kWmfResizePalette:
            return 1;
        case 0x0201:
        case 0x0209:
        case 0x020A:
        case 0x020B:
        case 0x020C:
        case 0x020D:
        case 0x020E:
        case 0x020F:
        case 0x0211:
        case 0x0213:
        case 0x0214:
        case 0x0220:
        case 0x0231:
        case kWmfFillRegion:
            return 2;
        case 0x0410:
        case 0x0412:
        case 0x0415:
        case 0x0416:
        case 0x0418:
        case 0x041B:
        case 0x041F:
        case 0x0419:
        case kWmfFrameRegion:
        case kWmfCreateBrushIndirect:
            return 4;
        case 0x0548:
        case kWmfCreatePenIndirect:
            return 5;
        case 0x061C:
        case 0x061D:
            return 6;
        case 0x0817:
        case 0x081A:
        case 0x0830:
            return 8;
        case kWmfCreateFontIndirect:
            return 9;
        case kWmfCreatePalette:
        case kWmfSetPalEntries:
        case kWmfAnimatePalette:
        case kWmfDibCreatePatternBrush:
        case kWmfPolygon:
        case kWmfPolyline:
        case kWmfPolyPolygon:
        case kWmfTextOut:
        case kWmfEscape:
            return 1;
        case kWmfExtTextOut:
            return 4;
        case kWmfCreateRegion:
            return 11;
        default:
            return 0;
    }
}

class WmfWalk {
  public:
    WmfWalk(const ByteView& file, std::uint32_t objects) : file_(file), slots_(objects, false) {}

    // A record of `size` bytes at `at`, its parameters from at + 6 on.
    bool Record(std::uint64_t at, std::uint16_t function, std::uint64_t size) {
        at_ = at;
        size_ = size;
        if (size < 6 + 2 * std::uint64_t{WmfMinimumWords(function)}) return false;
        switch (function) {
            case kWmfCreatePenIndirect:
            case kWmfCreateFontIndirect:
            case kWmfCreateBrushIndirect:
            case kWmfCreatePatternBrush:
                return Create();
            case kWmfCreatePalette:
                return Inside(10, 4 * Word(8)) && Create();
            case kWmfDibCreatePatternBrush:
                return Dib(10) && Create();
            case kWmfCreateRegion:
                return RegionSound() && Create();
            case kWmfDeleteObject:
                if (!Used(6)) return false;
                slots_[Word(6)] = false;
                return true;
            case kWmfSelectObject:
            case kWmfSelectPalette:
            case kWmfSelectClipRegion:
            case kWmfInvertRegion:
            case kWmfPaintRegion:
            case kWmfResizePalette:
                return Used(6);
            case kWmfFillRegion:
                return Used(6) && Used(8);
            case kWmfFrameRegion:
                return Used(6) && Used(8);
            case kWmfSetPalEntries:
            case kWmfAnimatePalette:
                return Inside(10, 4 * Word(8));
            case kWmfPolygon:
            case kWmfPolyline:
                return Inside(8, 4 * Word(6));
            case kWmfPolyPolygon: {
                const std::uint64_t polygons = Word(6);
                if (!Inside(8, 2 * polygons)) return false;
                std::uint64_t points = 0;
                for (std::uint64_t i = 0; i < polygons; ++i)
                    points += Word(8 + 2 * i);
                return Inside(8 + 2 * polygons, 4 * points);
            }
            case kWmfTextOut:
                return Inside(8, ((Word(6) + 1) & ~1u) + 4);
            case kWmfExtTextOut: {
                const std::uint64_t clip = (Word(12) & 0x0006) ? 8 : 0;  // opaque or clipped
                return Inside(14 + clip, Word(10));
            }
            case kWmfEscape:
                return Inside(10, Word(8));
            case kWmfBitBlt:
            case kWmfStretchBlt:
                return false;  // device-dependent bitmaps: no writer of today makes them
            case kWmfDibBitBlt:
                return HasBitmap(kWmfDibBitBlt) ? Dib(22) : true;
            case kWmfDibStretchBlt:
                return HasBitmap(kWmfDibStretchBlt) ? Dib(26) : true;
            case kWmfSetDibToDev:
                return Dib(24);
            case kWmfStretchDib:
                return Dib(28);
            default:
                return true;
        }
    }

  private:
    std::uint32_t Word(std::uint64_t offset) const { return file_.U16(at_ + offset); }
    bool Inside(std::uint64_t offset, std::uint64_t bytes) const {
        return offset <= size_ && bytes <= size_ - offset;
    }
    // Objects take the lowest free slot; a metafile that makes more than its header counts
    // is refused.
    bool Create() {
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (!slots_[i]) {
                slots_[i] = true;
                return true;
            }
        }
        return false;
    }
    bool Used(std::uint64_t offset) const { return Word(offset) < slots_.size(); }
    // The bit-block records come without a bitmap (a pattern fill) in their short form, whose
    // length the function number's high byte gives.
    bool HasBitmap(std::uint16_t function) const {
        return size_ / 2 != 3 + (std::uint64_t{function} >> 8);
    }
    bool Dib(std::uint64_t offset) const {
        if (!Inside(offset, 40)) return false;
        return DibSound(file_, at_ + offset, size_ - offset, 0, true);
    }
    // A region: its 22-byte head, then scans of a count, top, bottom, the x pairs and the
    // count again.
    bool RegionSound() const {
        const std::uint64_t scans = Word(6 + 10);
        std::uint64_t pos = 6 + 22;
        for (std::uint64_t i = 0; i < scans; ++i) {
            if (!Inside(pos, 6)) return false;
            const std::uint64_t xs = Word(pos);
            if (!Inside(pos, 6 + 2 * xs + 2)) return false;
            pos += 6 + 2 * xs + 2;
        }
        return true;
    }

    const ByteView& file_;
    std::vector<bool> slots_;
    std::uint64_t at_ = 0;
    std::uint64_t size_ = 0;
};

}  // namespace

bool EmfRecordsSound(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    const std::uint64_t total = file.U32(48), headerSize = file.U32(4);
    const std::uint32_t handles = file.U16(56);
    const std::uint64_t description = file.U32(60), descriptionAt = file.U32(64);
    if (file.U32(0) != kHeader || file.U32(40) != 0x464D4520 || total > size ||  // " EMF"
        headerSize < kEmrMinimum[kHeader] || headerSize % 4 != 0 || headerSize > total ||
        handles == 0 ||
        (description != 0 &&
         (descriptionAt > headerSize || 2 * description > headerSize - descriptionAt))) {
        return false;
    }
    EmfWalk walk(file, handles);
    for (std::uint64_t at = headerSize; at < total;) {
        const std::uint32_t type = file.U32(at);
        const std::uint64_t length = file.U32(at + 4);
        if (!file.Has(at, 8) || type == kHeader || type > kCreateColorSpaceW ||
            kEmrMinimum[type] == 0 || length < kEmrMinimum[type] || length % 4 != 0 ||
            length > total - at || !walk.Record(at, type, length)) {
            return false;
        }
        if (type == kEof) return at + length == total;  // nothing after it left unchecked
        at += length;
    }
    return false;  // no end-of-file record
}

bool WmfRecordsSound(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    const std::uint64_t total = 2 * std::uint64_t{file.U32(6)};
    if (size < 18 || file.U16(2) != 9 || total > size || total < 18) return false;
    WmfWalk walk(file, file.U16(10));
    for (std::uint64_t at = 18; at + 6 <= total;) {
        const std::uint64_t length = 2 * std::uint64_t{file.U32(at)};
        const auto function = static_cast<std::uint16_t>(file.U16(at + 4));
        if (length < 6 || length > total - at || !walk.Record(at, function, length)) return false;
        if (function == kWmfEof) return true;
        at += length;
    }
    return false;  // no end-of-file record
}

}  // namespace glimra
