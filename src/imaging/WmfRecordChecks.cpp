// The record walk of Windows metafiles, run before the platform plays one.
#include "imaging/MetafileChecks.h"

#include <vector>

#include "imaging/ByteView.h"
#include "imaging/DibChecks.h"

namespace glimra {
namespace {

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
        return detail::DibSound(file_, at_ + offset, size_ - offset, 0, true);
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
