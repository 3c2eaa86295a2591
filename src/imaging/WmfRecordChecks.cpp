// The record walk of Windows metafiles, run before the platform plays one.
#include "imaging/MetafileChecks.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "imaging/ByteView.h"
#include "imaging/DibChecks.h"

namespace glimra {
namespace {

using detail::Put32;
using detail::Verdict;

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
    kWmfPatBlt = 0x061D,
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
        case kWmfPatBlt:
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

// The records that make an object. Old metafiles number their objects by the order they are
// made, so one of these is never left out.
bool Creates(std::uint16_t function) {
    switch (function) {
        case kWmfCreatePenIndirect:
        case kWmfCreateFontIndirect:
        case kWmfCreateBrushIndirect:
        case kWmfCreatePatternBrush:
        case kWmfCreatePalette:
        case kWmfDibCreatePatternBrush:
        case kWmfCreateRegion:
            return true;
        default:
            return false;
    }
}

// A brush of the null style, 7 words long: the object that stands in for one played as nothing.
constexpr std::uint8_t kEmptyBrush[14] = {7, 0, 0, 0, 0xFC, 0x02, 1, 0, 0, 0, 0, 0, 0, 0};

class WmfWalk {
  public:
    WmfWalk(const ByteView& file, std::uint32_t objects) : file_(file), slots_(objects, false) {}

    // A record of `size` bytes at `at`, its parameters from at + 6 on.
    Verdict Record(std::uint64_t at, std::uint16_t function, std::uint64_t size) {
        at_ = at;
        size_ = size;
        const bool whole = size >= 6 + 2 * std::uint64_t{WmfMinimumWords(function)};
        if (Creates(function)) {
            if (!Create()) return Verdict::kRefused;
            return whole && Contained(function) ? Verdict::kDrawn : Verdict::kNothing;
        }
        if (!whole) return Verdict::kNothing;
        switch (function) {
            case kWmfDeleteObject:
                if (!Used(6)) return Verdict::kRefused;
                slots_[Word(6)] = false;
                return Verdict::kDrawn;
            case kWmfSelectObject:
            case kWmfSelectPalette:
            case kWmfSelectClipRegion:
            case kWmfInvertRegion:
            case kWmfPaintRegion:
            case kWmfResizePalette:
                return Used(6) ? Verdict::kDrawn : Verdict::kRefused;
            case kWmfFillRegion:
            case kWmfFrameRegion:
                return Used(6) && Used(8) ? Verdict::kDrawn : Verdict::kRefused;
            default:
                return Contained(function) ? Verdict::kDrawn : Verdict::kNothing;
        }
    }

    // What stands in for the record just played as nothing: an empty brush for one that makes
    // an object, so the objects after it keep their numbers; for an old bit-block in its short
    // form, without a bitmap, the pattern fill it stands for, in a record every player reads
    // alike; otherwise nothing.
    void StandIn(std::uint16_t function, std::vector<std::uint8_t>& out) const {
        if (Creates(function)) {
            out.insert(out.end(), std::begin(kEmptyBrush), std::end(kEmptyBrush));
            return;
        }
        if ((function != kWmfBitBlt && function != kWmfStretchBlt) || HasBitmap(function)) return;
        const std::uint32_t rop = file_.U32(at_ + 6);
        if ((rop ^ rop >> 2) & 0x330000) return;  // it needs a source, which it lacks
        // The raster operation, then the destination's height, width, y and x, its last words.
        for (std::uint32_t word :
             {9u, 0u, std::uint32_t{kWmfPatBlt}, Word(6), Word(8), Word(size_ - 8), Word(size_ - 6),
              Word(size_ - 4), Word(size_ - 2)}) {
            out.push_back(static_cast<std::uint8_t>(word));
            out.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    }

  private:
    // What the record says about its own contents lies inside it.
    bool Contained(std::uint16_t function) const {
        switch (function) {
            case kWmfCreatePalette:
            case kWmfSetPalEntries:
            case kWmfAnimatePalette:
                return Inside(10, 4 * Word(8));
            case kWmfDibCreatePatternBrush:
                return Dib(10);
            case kWmfCreateRegion:
                return RegionSound();
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
            // The platform reads a bitmap from every old bit-block, after the raster operation's
            // high word (both its words when stretched) and the coordinates.
            case kWmfBitBlt:
                return Bitmap16(20);
            case kWmfStretchBlt:
                return Bitmap16(26);
            case kWmfDibBitBlt:
                return !HasBitmap(kWmfDibBitBlt) || Dib(22);
            case kWmfDibStretchBlt:
                return !HasBitmap(kWmfDibStretchBlt) || Dib(26);
            case kWmfSetDibToDev:
                return Dib(24);
            case kWmfStretchDib:
                return Dib(28);
            default:
                return true;
        }
    }
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
    bool Bitmap16(std::uint64_t offset) const {
        return Inside(offset, 10) && detail::Bitmap16Sound(file_, at_ + offset, size_ - offset);
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

std::optional<std::vector<std::uint8_t>> SanitisedWmf(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    // Some writers count a placeable header in the length: only the bytes there are are walked.
    const std::uint64_t total =
        std::min<std::uint64_t>(2 * std::uint64_t{file.U32(6)}, file.Size());
    if (file.Size() < 18 || file.U16(2) != 9 || total < 18) return std::nullopt;
    WmfWalk walk(file, file.U16(10));
    std::vector<std::uint8_t> out(data, data + 18);
    std::uint64_t longest = 0;
    for (std::uint64_t at = 18; at + 6 <= total;) {
        const std::uint64_t length = 2 * std::uint64_t{file.U32(at)};
        const auto function = static_cast<std::uint16_t>(file.U16(at + 4));
        if (length < 6 || length > total - at) return std::nullopt;
        const Verdict verdict = walk.Record(at, function, length);
        if (verdict == Verdict::kRefused) return std::nullopt;
        const std::size_t start = out.size();
        if (verdict == Verdict::kDrawn) {
            out.insert(out.end(), data + at, data + at + length);
        } else {
            walk.StandIn(function, out);
        }
        longest = std::max<std::uint64_t>(longest, (out.size() - start) / 2);
        if (function == kWmfEof) {
            // The header tells the platform the length and the longest record of the copy.
            Put32(out, 6, out.size() / 2);
            Put32(out, 12, longest);
            return out;
        }
        at += length;
    }
    return std::nullopt;  // no end-of-file record
}

}  // namespace glimra
