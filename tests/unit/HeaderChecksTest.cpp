#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "imaging/HeaderChecks.h"

namespace glimra {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void PutBe(Bytes& out, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void Set(Bytes& out, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A bitmap with a 40-byte header: 24-bit rows of zeros, or RLE8 `rle` after a 256-colour
// palette.
Bytes Bmp(std::int32_t width, std::int32_t height, const Bytes* rle = nullptr) {
    const std::uint32_t bits = rle ? 8 : 24;
    const std::uint32_t palette = rle ? 1024 : 0;
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t pixels =
        rle ? static_cast<std::uint32_t>(rle->size())
            : rowBytes * static_cast<std::uint32_t>(height < 0 ? -height : height);
    Bytes out = {'B', 'M'};
    Put(out, 54 + palette + pixels, 4);
    Put(out, 0, 4);
    Put(out, 54 + palette, 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(width), 4);
    Put(out, static_cast<std::uint32_t>(height), 4);
    Put(out, 1, 2);
    Put(out, bits, 2);
    Put(out, rle ? 1 : 0, 4);
    for (int i = 0; i < 5; ++i)
        Put(out, 0, 4);
    out.resize(out.size() + palette + (rle ? 0 : pixels), 0);
    if (rle) out.insert(out.end(), rle->begin(), rle->end());
    return out;
}

// A GIF with a two-colour table and one image of width x height whose LZW data is `lzw`
// (minimum code size 2, in one sub-block).
Bytes Gif(std::uint32_t screenW, std::uint32_t screenH, std::uint32_t width, std::uint32_t height,
          const Bytes& lzw, std::uint32_t minimum = 2) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put(out, screenW, 2);
    Put(out, screenH, 2);
    Put(out, 0x80, 1);  // a global table of two colours
    Put(out, 0, 2);
    Put(out, 0x000000, 3);
    Put(out, 0xFFFFFF, 3);
    out.insert(out.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});  // a graphic control extension
    out.push_back(0x2C);
    Put(out, 0, 4);
    Put(out, width, 2);
    Put(out, height, 2);
    Put(out, 0, 1);
    Put(out, minimum, 1);
    Put(out, static_cast<std::uint32_t>(lzw.size()), 1);
    out.insert(out.end(), lzw.begin(), lzw.end());
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}
// Codes of 3 bits: clear (4), colour 0, end (5).
const Bytes kOnePixel = {0x44, 0x01};

// A JPEG's markers up to its first scan, with no image data: what the checks read.
Bytes Jpeg(std::uint32_t width, std::uint32_t height, std::uint32_t precision = 8) {
    Bytes out;
    PutBe(out, 0xFFD8, 2);
    PutBe(out, 0xFFE0, 2);  // APP0
    PutBe(out, 16, 2);
    for (char c : {'J', 'F', 'I', 'F', '\0'})
        out.push_back(static_cast<std::uint8_t>(c));
    out.insert(out.end(), {1, 1, 0, 0, 1, 0, 1, 0, 0});
    PutBe(out, 0xFFC0, 2);  // baseline frame, three components
    PutBe(out, 17, 2);
    out.push_back(static_cast<std::uint8_t>(precision));
    PutBe(out, height, 2);
    PutBe(out, width, 2);
    out.push_back(3);
    out.insert(out.end(), {1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    PutBe(out, 0xFFDA, 2);  // the scan
    PutBe(out, 12, 2);
    out.insert(out.end(), {3, 1, 0, 2, 0x11, 3, 0x11, 0, 63, 0});
    out.insert(out.end(), {0x12, 0x34});
    PutBe(out, 0xFFD9, 2);
    return out;
}

// An icon of one 32-bit image of size x size, its directory claiming `count` images.
Bytes Icon(std::int32_t size, std::uint32_t count = 1) {
    Bytes out;
    Put(out, 0, 2);
    Put(out, 1, 2);
    Put(out, count, 2);
    const std::uint32_t bytes = 40 + 4 * 16 * 16 + 4 * 16;
    out.insert(out.end(), {16, 16, 0, 0});
    Put(out, 1, 2);
    Put(out, 32, 2);
    Put(out, bytes, 4);
    Put(out, 22, 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(size), 4);
    Put(out, static_cast<std::uint32_t>(2 * size), 4);
    Put(out, 1, 2);
    Put(out, 32, 2);
    for (int i = 0; i < 6; ++i)
        Put(out, 0, 4);
    out.resize(out.size() + bytes - 40, 0);
    return out;
}

TEST(HeaderChecks, SoundPicturesOfEachKindPass) {
    const Bytes rle = {2, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};  // run, end of line, 3 written
    const struct {
        const char* name;
        Bytes file;
        RasterKind kind;
    } cases[] = {
        {"24-bit bitmap", Bmp(3, 2), RasterKind::Bmp},
        {"top-down bitmap", Bmp(5, -3), RasterKind::Bmp},
        {"RLE8 bitmap", Bmp(3, 2, &rle), RasterKind::Bmp},
        {"GIF", Gif(1, 1, 1, 1, kOnePixel), RasterKind::Gif},
        {"JPEG", Jpeg(6000, 4000), RasterKind::Jpeg},
        {"JPEG at the bound", Jpeg(16384, 16384), RasterKind::Jpeg},
        {"icon", Icon(16), RasterKind::Icon},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckRasterHeaders(c.file.data(), c.file.size()), c.kind) << c.name;
}

TEST(HeaderChecks, DamagedOrHostileHeadersAreRefused) {
    const auto bmp = [](std::function<void(Bytes&)> change) {
        Bytes file = Bmp(3, 2);
        change(file);
        return file;
    };
    const auto rleBmp = [](std::int32_t w, std::int32_t h, Bytes codes) {
        return Bmp(w, h, &codes);
    };
    const auto jpeg = [](std::function<void(Bytes&)> change) {
        Bytes file = Jpeg(64, 48);
        change(file);
        return file;
    };
    const auto icon = [](std::function<void(Bytes&)> change) {
        Bytes file = Icon(16);
        change(file);
        return file;
    };
    Bytes pngInIcon = Icon(16);
    const std::uint8_t png[] = {0x89, 'P', 'N', 'G', 13,  10,  26,  10,
                                0,    0,   0,   13,  'I', 'H', 'D', 'R'};
    std::copy(std::begin(png), std::end(png), pngInIcon.begin() + 22);
    Set(pngInIcon, 22 + 16, 0xA0860100, 4);  // 100000 wide, big-endian

    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"bitmap of 65535 x 65535", bmp([](Bytes& f) {
             Set(f, 18, 65535, 4);
             Set(f, 22, 65535, 4);
         })},
        {"bitmap whose row size overflows", bmp([](Bytes& f) { Set(f, 18, 0x7FFFFFFF, 4); })},
        {"bitmap of negative width", bmp([](Bytes& f) { Set(f, 18, 0xFFFFFFFD, 4); })},
        {"bitmap of height -2^31", bmp([](Bytes& f) { Set(f, 22, 0x80000000, 4); })},
        {"bitmap of no planes", bmp([](Bytes& f) { Set(f, 26, 0, 2); })},
        {"bitmap of 7 bits a pixel", bmp([](Bytes& f) { Set(f, 28, 7, 2); })},
        {"bitmap holding a JPEG", bmp([](Bytes& f) { Set(f, 30, 4, 4); })},
        {"bitmap of an unknown header", bmp([](Bytes& f) { Set(f, 14, 41, 4); })},
        {"bitmap with pixels past its end", bmp([](Bytes& f) { Set(f, 10, 1000, 4); })},
        {"bitmap with rows cut short", bmp([](Bytes& f) { f.resize(f.size() - 9); })},
        {"bitmap with 300 palette colours", bmp([](Bytes& f) {
             Set(f, 28, 8, 2);
             Set(f, 46, 300, 4);
         })},
        {"RLE8 bitmap of 20000 x 20000", rleBmp(20000, 20000, {0, 1})},
        {"RLE run past the row", rleBmp(3, 2, {4, 7, 0, 1})},
        {"RLE runs past the last row", rleBmp(3, 1, {3, 7, 0, 0, 3, 7, 0, 1})},
        {"RLE jump out of the picture", rleBmp(3, 2, {0, 2, 1, 5, 0, 1})},
        {"RLE written pixels past the data", rleBmp(3, 2, {0, 3, 1})},
        {"RLE written pixels past the row", rleBmp(3, 2, {0, 4, 1, 2, 3, 4, 0, 1})},
        {"RLE in a 24-bit bitmap", bmp([](Bytes& f) { Set(f, 30, 1, 4); })},
        {"GIF screen of 65535 x 65535", Gif(65535, 65535, 1, 1, kOnePixel)},
        {"GIF image of 65535 x 65535", Gif(1, 1, 65535, 65535, kOnePixel)},
        {"GIF image of no width", Gif(1, 1, 0, 1, kOnePixel)},
        {"GIF code not yet defined", Gif(2, 2, 2, 2, {0x74, 0x01})},     // clear, 7: one past next
        {"GIF first code not a colour", Gif(1, 1, 1, 1, {0x34, 0x01})},  // clear, 6
        {"GIF code size of 12", Gif(1, 1, 1, 1, kOnePixel, 12)},
        {"GIF sub-block past the end",
         [] {
             Bytes f = Gif(1, 1, 1, 1, kOnePixel);
             f.resize(f.size() - 3);
             return f;
         }()},
        {"GIF of no image", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}},
        {"JPEG frame of 65500 x 65500", Jpeg(65500, 65500)},
        {"JPEG frame of no height", Jpeg(64, 0)},
        {"JPEG of 16-bit precision", Jpeg(64, 48, 16)},
        {"JPEG segment past the end", jpeg([](Bytes& f) { f[5] = 0xFF; })},
        {"JPEG segment shorter than its length field", jpeg([](Bytes& f) { f[5] = 1; })},
        {"JPEG scan before any frame", jpeg([](Bytes& f) { f[21] = 0xDA; })},
        {"JPEG frame of no components", jpeg([](Bytes& f) { f[29] = 0; })},
        {"JPEG sampling factor 0", jpeg([](Bytes& f) { f[31] = 0x02; })},
        {"JPEG end before any frame", Bytes{0xFF, 0xD8, 0xFF, 0xD9}},
        {"icon counting 1000 pictures", Icon(16, 1000)},
        {"icon picture past the end", icon([](Bytes& f) { Set(f, 18, 5000, 4); })},
        {"icon picture longer than the file", icon([](Bytes& f) { Set(f, 14, 0x7FFFFFFF, 4); })},
        {"icon picture inside the directory", icon([](Bytes& f) { Set(f, 18, 6, 4); })},
        {"icon picture 65535 wide", icon([](Bytes& f) { Set(f, 26, 65535, 4); })},
        {"icon picture larger than its bytes", icon([](Bytes& f) { Set(f, 26, 64, 4); })},
        {"icon PNG 100000 wide", pngInIcon},
        {"cursor, not an icon", icon([](Bytes& f) { Set(f, 2, 2, 2); })},
        {"random bytes", Bytes{0x12, 0x34, 0x56, 0x78, 0x9A}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckRasterHeaders(c.file.data(), c.file.size()), RasterKind::None) << c.name;
    }
}

TEST(HeaderChecks, EveryCutOrChangedByteIsReadSafely) {
    // Under the sanitizers any read outside the file fails here. Cut short, every kind is
    // refused but JPEG, whose scan data is not walked, and a GIF that lacks only its trailer.
    const Bytes rle = {2, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    const Bytes files[] = {Bmp(4, 2), Bmp(3, 2, &rle), Gif(1, 1, 1, 1, kOnePixel), Jpeg(64, 48),
                           Icon(16)};
    std::mt19937 random(11);
    for (const Bytes& file : files) {
        const RasterKind kind = CheckRasterHeaders(file.data(), file.size());
        ASSERT_NE(kind, RasterKind::None);
        for (std::size_t cut = 0; cut < file.size(); ++cut) {
            const Bytes part(file.begin(), file.begin() + static_cast<long>(cut));
            const RasterKind got = CheckRasterHeaders(part.data(), part.size());
            if (kind != RasterKind::Jpeg && !(kind == RasterKind::Gif && cut == file.size() - 1)) {
                EXPECT_EQ(got, RasterKind::None) << cut;
            }
        }
        for (int round = 0; round < 3000; ++round) {
            Bytes changed = file;
            for (int i = 0; i < 3; ++i)
                changed[random() % changed.size()] = static_cast<std::uint8_t>(random());
            const RasterKind got = CheckRasterHeaders(changed.data(), changed.size());
            EXPECT_TRUE(got == RasterKind::None || got == kind);
        }
    }
    EXPECT_EQ(CheckRasterHeaders(nullptr, 10), RasterKind::None);
}

}  // namespace
}  // namespace glimra
