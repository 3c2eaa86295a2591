// The record walk of enhanced metafiles, run before the platform plays one.
#include "imaging/MetafileChecks.h"

#include <cstring>
#include <optional>
#include <utility>

#include "imaging/ByteView.h"
#include "imaging/DibChecks.h"
#include "imaging/EmfRecords.h"

namespace glimra {
namespace {

using detail::Put32;
using detail::Verdict;
using namespace emf;

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

    Verdict Record(std::uint64_t at, std::uint32_t type, std::uint64_t size) {
        at_ = at;
        size_ = size;
        switch (type) {
            case kSelectObject:
            case kDeleteObject:
            case kSelectPalette:
            case kSetColorSpace:
            case kDeleteColorSpace:
            case kResizePalette:
                return Objects(Used(8));
            case kCreatePen:
            case kCreateBrushIndirect:
            case kExtCreateFontIndirectW:
            case kCreateColorSpace:
                return Objects(Created(8));
            case kCreatePalette:
                return Objects(Created(8), Inside(16, 4 * Field16(14)));
            case kSetPaletteEntries:
                return Objects(Used(8), Inside(20, 4 * Field(16)));
            case kCreateColorSpaceW:
                return Objects(Created(8), Inside(608, Field(604)));
            case kExtCreatePen:
                return Objects(Created(8), Dib(12, 16, 20, 24) && Inside(52, 4 * Field(48)));
            case kCreateMonoBrush:
            case kCreateDibPatternBrushPt:
                return Objects(Created(8), Dib(16, 20, 24, 28));
            case kFillRgn:
                return Objects(Used(28), Region(32, Field(24)));
            case kFrameRgn:
                return Objects(Used(28), Region(40, Field(24)));
            case kEof:  // never left out: its palette must lie inside it
                return Objects(Field(8) == 0 || Inside(Field(12), 4 * Field(8)));
            default:
                return Contained(type) ? Verdict::kDrawn : Verdict::kNothing;
        }
    }

  private:
    static Verdict Objects(bool objects, bool contained = true) {
        return !objects ? Verdict::kRefused : contained ? Verdict::kDrawn : Verdict::kNothing;
    }

    // What a record that names no object says about its own contents lies inside it.
    bool Contained(std::uint32_t type) const {
        switch (type) {
            case kGdiComment:
            case kGlsRecord:
                return Inside(12, Field(8));
            case kGlsBoundedRecord:
                return Inside(28, Field(24));
            case kDrawEscape:
            case kExtEscape:
                return Inside(16, Field(12));
            case kNamedEscape:
            case kSetIcmProfileA:
            case kSetIcmProfileW:
                return Inside(20, Field(12) + Field(16));
            case kColorMatchToTargetW:
                return Inside(24, Field(16) + Field(20));
            case kSetLinkedUfis:
                return Inside(12, 8 * Field(8));
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
               detail::DibSound(file_, at_ + info, infoBytes, bitsBytes, false);
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

// Appends a 32-bit value to the copy.
void Append32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The brush a stock object of a region fill stands for, as a created brush's style and colour;
// none for a stock object that is no brush of a fixed colour.
std::optional<std::pair<std::uint32_t, std::uint32_t>> StockBrush(std::uint32_t index) {
    constexpr std::uint32_t kSolid = 0, kHollow = 1;
    switch (index & 0x7FFFFFFFu) {
        case 0:  // white
            return std::pair{kSolid, 0xFFFFFFu};
        case 1:  // light grey
            return std::pair{kSolid, 0xC0C0C0u};
        case 2:  // grey
            return std::pair{kSolid, 0x808080u};
        case 3:  // dark grey
            return std::pair{kSolid, 0x404040u};
        case 4:  // black
            return std::pair{kSolid, 0u};
        case 5:  // hollow
            return std::pair{kHollow, 0u};
        default:
            return std::nullopt;
    }
}

// Writers name stock brushes in region fills as the format allows, and players that look the
// brush up in the metafile's own objects read past them. The copy makes such a brush in the
// spare slot past the header's count, fills with it and deletes it: the same drawing. Gives
// the records copied, or 0 when the record is played as nothing.
std::uint64_t FillWithMadeBrush(const std::uint8_t* record, std::uint64_t length,
                                std::uint32_t spare, std::vector<std::uint8_t>& out) {
    std::uint32_t brush = 0;
    std::memcpy(&brush, record + 28, 4);  // both region fills name their brush here
    const auto stock = StockBrush(brush);
    if (!stock || spare >= 0xFFFF) return 0;
    for (std::uint32_t v :
         {std::uint32_t{kCreateBrushIndirect}, 24u, spare, stock->first, stock->second, 0u})
        Append32(out, v);
    const std::size_t at = out.size();
    out.insert(out.end(), record, record + length);
    Put32(out, at + 28, spare);
    for (std::uint32_t v : {std::uint32_t{kDeleteObject}, 12u, spare})
        Append32(out, v);
    return 3;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SanitisedEmf(const std::uint8_t* data, std::size_t size) {
    const ByteView file(data, size);
    const std::uint64_t total = file.U32(48), headerSize = file.U32(4);
    const std::uint32_t handles = file.U16(56);
    const std::uint64_t description = file.U32(60), descriptionAt = file.U32(64);
    if (file.U32(0) != kHeader || file.U32(40) != 0x464D4520 || total > file.Size() ||  // " EMF"
        headerSize < kEmrMinimum[kHeader] || headerSize % 4 != 0 || headerSize > total ||
        handles == 0 ||
        (description != 0 &&
         (descriptionAt > headerSize || 2 * description > headerSize - descriptionAt))) {
        return std::nullopt;
    }
    EmfWalk walk(file, handles);
    std::vector<std::uint8_t> out(data, data + headerSize);
    std::uint64_t records = 1;
    bool madeBrush = false;
    for (std::uint64_t at = headerSize; at < total;) {
        const std::uint32_t type = file.U32(at);
        const std::uint64_t length = file.U32(at + 4);
        if (!file.Has(at, 8) || type == kHeader || type > kCreateColorSpaceW ||
            kEmrMinimum[type] == 0 || length < 8 || length % 4 != 0 || length > total - at) {
            return std::nullopt;
        }
        const Verdict verdict =
            length < kEmrMinimum[type] ? Verdict::kNothing : walk.Record(at, type, length);
        if (verdict == Verdict::kRefused || (type == kEof && verdict != Verdict::kDrawn)) {
            return std::nullopt;
        }
        if (verdict == Verdict::kDrawn && (type == kFillRgn || type == kFrameRgn) &&
            (file.U32(at + 28) & 0x80000000u)) {
            const std::uint64_t copied = FillWithMadeBrush(data + at, length, handles, out);
            records += copied;
            madeBrush = madeBrush || copied > 0;
        } else if (verdict == Verdict::kDrawn) {
            out.insert(out.end(), data + at, data + at + length);
            ++records;
        }
        if (type == kEof) {
            if (at + length != total) return std::nullopt;  // nothing after it left unchecked
            // The header tells the platform the length, the records and the objects of the copy.
            Put32(out, 48, out.size());
            Put32(out, 52, records);
            if (madeBrush) {
                out[56] = static_cast<std::uint8_t>(handles + 1);
                out[57] = static_cast<std::uint8_t>((handles + 1) >> 8);
            }
            return out;
        }
        at += length;
    }
    return std::nullopt;  // no end-of-file record
}

}  // namespace glimra
