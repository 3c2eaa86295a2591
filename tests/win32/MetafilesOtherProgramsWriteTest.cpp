// Metafiles as other programs write them, drawn as GDI draws them, in the program and in the
// decoder process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <atomic>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "corpus/HostileFiles.h"
#include "imaging/MetafileChecks.h"
#include "imaging/PictureFit.h"
#include "win32/BuiltProgram.h"
#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/decoder/DecoderProcessLoader.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;
using corpus::WmfRecord;

void PutLe(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// An old metafile of `records` (its end-of-file record added) with the header a writer puts:
// its length, the objects it holds at once and its longest record.
Bytes OldMetafile(const std::vector<Bytes>& records, std::uint16_t objects) {
    Bytes body;
    std::uint32_t longest = 3;
    for (const Bytes& record : records) {
        body.insert(body.end(), record.begin(), record.end());
        longest = std::max<std::uint32_t>(longest, static_cast<std::uint32_t>(record.size() / 2));
    }
    const Bytes end = WmfRecord(0x0000, {});
    body.insert(body.end(), end.begin(), end.end());
    Bytes out;
    PutLe(out, 1, 2);
    PutLe(out, 9, 2);
    PutLe(out, 0x0300, 2);
    PutLe(out, static_cast<std::uint32_t>((18 + body.size()) / 2), 4);
    PutLe(out, objects, 2);
    PutLe(out, longest, 4);
    PutLe(out, 0, 2);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The placeable header with the box `box` at `inch` units to the inch, then `wmf`.
Bytes Placeable(const RECT& box, int inch, const Bytes& wmf) {
    Bytes out;
    PutLe(out, 0x9AC6CDD7, 4);
    PutLe(out, 0, 2);
    for (LONG edge : {box.left, box.top, box.right, box.bottom})
        PutLe(out, static_cast<std::uint16_t>(edge), 2);
    PutLe(out, static_cast<std::uint32_t>(inch), 2);
    PutLe(out, 0, 4);
    std::uint16_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2)
        checksum ^= static_cast<std::uint16_t>(out[i] | out[i + 1] << 8);
    PutLe(out, checksum, 2);
    out.insert(out.end(), wmf.begin(), wmf.end());
    return out;
}

std::uint16_t Word(int value) {
    return static_cast<std::uint16_t>(value);
}

Bytes Text(const std::string& text) {
    Bytes bytes(text.begin(), text.end());
    if (bytes.size() % 2) bytes.push_back(0);
    return bytes;
}

// A font as writers record it: the face name only as long as it is, not 32 bytes.
Bytes Font(int height, int charset, const std::string& face, int escapement = 0) {
    return WmfRecord(
        0x02FB,
        {Word(height), 0, Word(escapement), Word(escapement), 400, 0, Word(charset << 8), 0, 0},
        Text(face + '\0'));
}

// An old metafile played by GDI itself the way a viewer plays a placeable one: `window`
// (logical units) onto a black width x height canvas.
PixelBuffer PlayedAsGdi(const Bytes& wmf, const RECT& window, int width, int height) {
    return Drawn(width, height, [&](Canvas& canvas) {
        HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(wmf.size()), wmf.data());
        SetMapMode(canvas.Dc(), MM_ANISOTROPIC);
        SetWindowOrgEx(canvas.Dc(), window.left, window.top, nullptr);
        SetWindowExtEx(canvas.Dc(), window.right - window.left, window.bottom - window.top,
                       nullptr);
        SetViewportExtEx(canvas.Dc(), width, height, nullptr);
        PlayMetaFile(canvas.Dc(), metafile);
        DeleteMetaFile(metafile);
    });
}

PixelBuffer Render(const PicturePtr& picture) {
    if (!picture) return {};
    return Drawn(picture->Width(), picture->Height(), [&](Canvas& canvas) {
        static_cast<const Win32Picture&>(*picture).Draw(
            canvas, {0, 0, picture->Width(), picture->Height()});
    });
}

// The smallest rectangle holding every pixel that is not black; empty for none.
RECT Lit(const PixelBuffer& p) {
    RECT lit{p.width, p.height, -1, -1};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (!(p.pixels[static_cast<size_t>(y) * p.width + x] & 0xFFFFFF)) continue;
            lit = {std::min<LONG>(lit.left, x), std::min<LONG>(lit.top, y),
                   std::max<LONG>(lit.right, x + 1), std::max<LONG>(lit.bottom, y + 1)};
        }
    }
    return lit;
}

// A red disc filling the box (200, 300)-(1200, 1300) at 1000 units to the inch: 96 x 96
// pixels. Writers set the window's extent to the box, with the map mode before or after it,
// and its origin to the box's corner or not at all.
TEST(MetafilesOtherProgramsWrite, APlaceableMetafileIsDrawnWholeInItsBox) {
    const RECT box{200, 300, 1200, 1300};
    const Bytes origin = WmfRecord(0x020B, {Word(box.top), Word(box.left)});
    const Bytes extent = WmfRecord(0x020C, {1000, 1000});
    const Bytes mapMode = WmfRecord(0x0103, {MM_ANISOTROPIC});
    const std::vector<Bytes> disc = {
        WmfRecord(0x02FC, {BS_SOLID, 0x00FF, 0, 0}),  // a red brush
        WmfRecord(0x012D, {0}),
        WmfRecord(0x02FA, {PS_NULL, 0, 0, 0, 0}),
        WmfRecord(0x012D, {1}),
        WmfRecord(0x0418, {Word(box.bottom), Word(box.right), Word(box.top), Word(box.left)}),
    };
    const struct {
        const char* name;
        std::vector<Bytes> window;
    } cases[] = {
        {"map mode after the extent", {origin, extent, mapMode}},
        {"map mode before the extent", {mapMode, origin, extent}},
        {"no origin, map mode after the extent", {extent, mapMode}},
        {"no window records", {}},
    };
    WicPictureLoader loader(GetModuleHandleW(nullptr), 1920, 1080, 96.0f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Bytes> records = c.window;
        records.insert(records.end(), disc.begin(), disc.end());
        const Bytes wmf = OldMetafile(records, 2);
        const Bytes file = Placeable(box, 1000, wmf);
        const PicturePtr picture = loader.Decode(file.data(), file.size());
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture->Width(), 96);
        ASSERT_EQ(picture->Height(), 96);
        const PixelBuffer shown = Render(picture);
        EXPECT_EQ(ColorAt(shown, 48, 48), 0xFF0000u);
        const RECT lit = Lit(shown);
        EXPECT_LE(lit.left, 1);
        EXPECT_LE(lit.top, 1);
        EXPECT_GE(lit.right, 95);
        EXPECT_GE(lit.bottom, 95);
        EXPECT_TRUE(shown.pixels == PlayedAsGdi(wmf, box, 96, 96).pixels);
    }
}

// Tables of text, as a converter writes them: fonts of the symbol and other character sets
// made, selected and deleted by the dozen, each row of text with its spacing. The decoder
// process draws it as GDI plays it, and leaves its heap sound (one it corrupts ends it).
TEST(MetafilesOtherProgramsWrite, TextTablesAreDrawnInTheDecoderAsGdiDrawsThem) {
    const RECT box{0, 0, 2000, 1000};
    std::vector<Bytes> records = {
        WmfRecord(0x020B, {0, 0}),
        WmfRecord(0x020C, {1000, 2000}),
        WmfRecord(0x0103, {MM_ANISOTROPIC}),
        WmfRecord(0x0209, {0xFFFF, 0}),
        WmfRecord(0x0102, {TRANSPARENT}),
        WmfRecord(0x02FA, {PS_SOLID, 4, 0, 0xFF00, 0}),
        WmfRecord(0x012D, {0}),
    };
    const char* faces[] = {"Symbol", "Arial", "Times New Roman", "Courier New"};
    for (int row = 0; row < 12; ++row) {
        const int charset = row % 4 == 0 ? SYMBOL_CHARSET : ANSI_CHARSET;
        records.push_back(Font(-60 - row % 5, charset, faces[row % 4], (row % 3) * 900));
        records.push_back(Font(-50, charset, faces[(row + 1) % 4]));
        records.push_back(WmfRecord(0x012D, {1}));
        std::string cells;
        for (int i = 0; i < 14; ++i)
            cells.push_back(static_cast<char>(0x21 + (row * 14 + i) % 0xDE));
        Bytes more = Text(cells);
        for (size_t i = 0; i < cells.size(); ++i)
            PutLe(more, 60, 2);
        records.push_back(WmfRecord(0x0A32, {Word(20 + row * 80), 20, 14, 0}, more));
        records.push_back(WmfRecord(0x012D, {2}));
        Bytes label = Text("Table");  // then its y and x
        PutLe(label, Word(20 + row * 80), 2);
        PutLe(label, 1200, 2);
        records.push_back(WmfRecord(0x0521, {5}, label));
        records.push_back(WmfRecord(0x0214, {Word(row * 80), 0}));
        records.push_back(WmfRecord(0x0213, {Word(row * 80), 2000}));
        records.push_back(WmfRecord(0x012D, {0}));
        records.push_back(WmfRecord(0x01F0, {1}));
        records.push_back(WmfRecord(0x01F0, {2}));
    }
    const Bytes wmf = OldMetafile(records, 3);
    ASSERT_TRUE(SanitisedWmf(wmf.data(), wmf.size())) << "a sound metafile";
    TempFolder folder{L"glimra-metafile-text"};
    const std::wstring path = folder.Path() + L"tables.wmf";
    ASSERT_TRUE(WriteBytes(path, Placeable(box, 400, wmf)));
    auto target = std::make_shared<ShowTarget>(ShowTarget::Size{1024, 768, 96});
    std::atomic<bool> stop{false};
    DecoderProcessLoader loader(GetModuleHandleW(nullptr), target, BuiltProgram::Path(),
                                DecoderProcessLoader::kLimits, &stop);
    const PicturePtr decoded = loader.Load(path);
    ASSERT_TRUE(decoded) << "the decoder drew it";
    ASSERT_EQ(decoded->Width(), 480);
    ASSERT_EQ(decoded->Height(), 240);
    const PixelBuffer played = PlayedAsGdi(wmf, box, 480, 240);
    EXPECT_GT(std::count_if(played.pixels.begin(), played.pixels.end(),
                            [](std::uint32_t p) {
                                return (p >> 16 & 255) > 200 && (p >> 8 & 255) > 200 &&
                                       (p & 255) < 80;
                            }),
              200)
        << "yellow text in the played table";
    EXPECT_TRUE(Render(decoded).pixels == played.pixels);
    EXPECT_EQ(loader.Decoder().Starts(), 1u) << "the decoder lived";
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

// Region fills that name a stock brush, as writers may: Wine's player looks the brush up in
// the metafile's own objects and reads past them. The loader fills with a brush it makes of
// the stock one's colour: the drawing GDI makes of the same file with that brush made.
TEST(MetafilesOtherProgramsWrite, RegionFillsWithAStockBrushAreDrawnWithItsColour) {
    const Bytes quadrants = MakeEmf(RECT{0, 0, 2540, 2540});
    ASSERT_FALSE(quadrants.empty());
    const auto fields = [](std::initializer_list<std::uint32_t> values) {
        Bytes out;
        for (std::uint32_t v : values)
            PutLe(out, v, 4);
        return out;
    };
    const auto with = [&](const std::vector<Bytes>& records, std::uint16_t moreHandles) {
        Bytes emf = quadrants;
        for (const Bytes& record : records)
            emf.insert(emf.end() - 20, record.begin(), record.end());
        const Bytes size = fields({static_cast<std::uint32_t>(emf.size())});
        std::copy(size.begin(), size.end(), emf.begin() + 48);
        emf[52] = static_cast<std::uint8_t>(emf[52] + records.size());
        emf[56] = static_cast<std::uint8_t>(emf[56] + moreHandles);
        return emf;
    };
    // The rectangle (20, 20)-(60, 50) of the reference device, framed 3 wide or filled.
    const Bytes region = fields({32, 1, 1, 16, 20, 20, 60, 50, 20, 20, 60, 50});
    const auto fill = [&](std::uint32_t type, std::uint32_t brush) {
        Bytes r = type == 71 ? fields({71, 80, 20, 20, 59, 49, 48, brush})
                             : fields({72, 88, 20, 20, 59, 49, 48, brush, 3, 3});
        r.insert(r.end(), region.begin(), region.end());
        return r;
    };
    const std::uint32_t spare = quadrants[56];
    const auto made = [&](std::uint32_t color) {
        return fields({39, 24, spare, BS_SOLID, color, 0});
    };
    const Bytes deleted = fields({40, 12, spare});
    const struct {
        const char* name;
        Bytes file, withMadeBrush;
    } cases[] = {
        {"filled with the white brush", with({fill(71, 0x80000000 | WHITE_BRUSH)}, 0),
         with({made(0xFFFFFF), fill(71, spare), deleted}, 1)},
        {"framed with the grey brush", with({fill(72, 0x80000000 | GRAY_BRUSH)}, 0),
         with({made(0x808080), fill(72, spare), deleted}, 1)},
    };
    WicPictureLoader loader(GetModuleHandleW(nullptr), 1920, 1080, 96.0f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PicturePtr picture = loader.Decode(c.file.data(), c.file.size());
        ASSERT_TRUE(picture);
        const int width = picture->Width(), height = picture->Height();
        const PixelBuffer played = Drawn(width, height, [&](Canvas& canvas) {
            HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(c.withMadeBrush.size()),
                                                       c.withMadeBrush.data());
            const RECT all{0, 0, width, height};
            PlayEnhMetaFile(canvas.Dc(), metafile, &all);
            DeleteEnhMetaFile(metafile);
        });
        EXPECT_TRUE(Render(picture).pixels == played.pixels);
        EXPECT_NE(played.pixels, Render(loader.Decode(quadrants.data(), quadrants.size())).pixels)
            << "the fill is drawn";
    }
}

// An enhanced metafile of an A4 landscape page above the origin, as a converter writes it for a
// 1200 dpi reference device: a yellow rectangle over the whole page in map mode `mode`, whose
// logical units are `perMillimetre` to the millimetre, y upwards (pixels, y downwards, for 1).
Bytes PageInMapMode(int mode, double perMillimetre) {
    const std::int32_t pixelsX = 14031, pixelsY = 9921, frameX = 29699, frameY = 20999;
    Bytes records;
    const auto record = [&](std::uint32_t type, std::initializer_list<std::int32_t> fields) {
        PutLe(records, type, 4);
        PutLe(records, static_cast<std::uint32_t>(8 + 4 * fields.size()), 4);
        for (const std::int32_t field : fields)
            PutLe(records, static_cast<std::uint32_t>(field), 4);
    };
    record(17, {mode});               // the map mode
    record(39, {1, 0, 0xA0FFFF, 0});  // a solid brush, object 1
    record(37, {1});                  // selected
    if (mode == MM_TEXT) {
        record(43, {0, -pixelsY, pixelsX, 0});  // the rectangle, in the device's pixels
    } else {
        const auto units = [&](int hundredths) {
            return static_cast<std::int32_t>(std::lround(hundredths / 100.0 * perMillimetre));
        };
        record(43, {0, units(frameY), units(frameX), 0});
    }
    record(14, {0, 16, 20});
    Bytes emf;
    PutLe(emf, 1, 4);
    PutLe(emf, 88, 4);
    for (const std::int32_t v : {0, -pixelsY, pixelsX, 0, 0, -frameY, frameX, 0})
        PutLe(emf, static_cast<std::uint32_t>(v), 4);
    PutLe(emf, 0x464D4520, 4);
    PutLe(emf, 0x10000, 4);
    PutLe(emf, static_cast<std::uint32_t>(88 + records.size()), 4);
    PutLe(emf, 6, 4);  // records, the header and the end among them
    PutLe(emf, 2, 2);  // objects, the first the metafile's own
    PutLe(emf, 0, 2);
    for (const std::uint32_t v : {0u, 0u, 0u, 10205u, 13181u, 216u, 279u})
        PutLe(emf, v, 4);  // no description or palette; the device's pixels and millimetres
    emf.insert(emf.end(), records.begin(), records.end());
    return emf;
}

// Wine's player draws the metric map modes at the screen's size instead of the reference
// device's, a small picture off the page: the loader spells them out, so each page fills its
// frame as GDI draws it.
TEST(MetafilesOtherProgramsWrite, EveryMapModeDrawsThePageInItsFrame) {
    const struct {
        int mode;
        double perMillimetre;
    } modes[] = {{MM_TEXT, 0},
                 {MM_LOMETRIC, 10},
                 {MM_HIMETRIC, 100},
                 {MM_LOENGLISH, 100 / 25.4},
                 {MM_HIENGLISH, 1000 / 25.4},
                 {MM_TWIPS, 1440 / 25.4}};
    for (const auto& [mode, perMillimetre] : modes) {
        const Bytes emf = PageInMapMode(mode, perMillimetre);
        WicPictureLoader loader(GetModuleHandleW(nullptr), 1024, 768, 96);
        const PixelBuffer shown = Render(loader.Decode(emf.data(), emf.size()));
        ASSERT_GT(shown.width, 20) << "map mode " << mode;
        const int w = shown.width, h = shown.height;
        for (const POINT p :
             {POINT{w / 2, h / 2}, POINT{w / 20, h / 20}, POINT{w * 19 / 20, h / 20},
              POINT{w / 20, h * 19 / 20}, POINT{w * 19 / 20, h * 19 / 20}}) {
            EXPECT_EQ(shown.pixels[static_cast<size_t>(p.y) * w + p.x] & 0xFFFFFF, 0xFFFFA0u)
                << "map mode " << mode << " at " << p.x << "," << p.y;
        }
    }
}

}  // namespace
}  // namespace glimra::win32
