#include "corpus/HostileFiles.h"

#include <algorithm>
#include <functional>

namespace glimra::corpus {
namespace {

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

// A copy of `file` with `change` made to it.
Bytes Changed(Bytes file, const std::function<void(Bytes&)>& change) {
    change(file);
    return file;
}

// A 2 x 2 24-bit bitmap's header and rows, as metafiles carry it.
void PutDib(Bytes& out) {
    Put(out, 40, 4);
    Put(out, 2, 4);
    Put(out, 2, 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4);
    Put(out, 16, 4);
    for (int i = 0; i < 4; ++i)
        Put(out, 0, 4);
    for (int i = 0; i < 16; ++i)
        out.push_back(static_cast<std::uint8_t>(0x40 + i));
}

// Where the records of Emf() and Wmf() lie, for the damaged copies.
constexpr std::size_t kEmfBrush = 108, kEmfSelect = 132, kEmfPolygon = 144, kEmfText = 196,
                      kEmfBitmap = 284, kEmfDelete = 420, kEmfEof = 432;
constexpr std::size_t kWmfSelect = 32, kWmfPolygon = 40, kWmfText = 60, kWmfBitmap = 74,
                      kWmfDelete = 158, kWmfEof = 176;

}  // namespace

Bytes Bmp(std::int32_t width, std::int32_t height, const Bytes* rle) {
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
    for (std::uint32_t i = 0; i < palette; ++i)
        out.push_back(static_cast<std::uint8_t>(i));
    if (rle) {
        out.insert(out.end(), rle->begin(), rle->end());
    } else {
        for (std::uint32_t i = 0; i < pixels; ++i)
            out.push_back(static_cast<std::uint8_t>(i * 7));
    }
    return out;
}

Bytes Gif(std::uint32_t screenW, std::uint32_t screenH, std::uint32_t width, std::uint32_t height,
          const Bytes& lzw, std::uint32_t minimumCodeSize) {
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
    Put(out, minimumCodeSize, 1);
    Put(out, static_cast<std::uint32_t>(lzw.size()), 1);
    out.insert(out.end(), lzw.begin(), lzw.end());
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

Bytes Jpeg(std::uint32_t width, std::uint32_t height, std::uint32_t precision) {
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

Bytes Icon(std::int32_t size, std::uint32_t count) {
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
    for (std::uint32_t i = 0; i < 16 * 16; ++i)
        Put(out, 0xFF2060A0, 4);
    out.resize(out.size() + 4 * 16, 0);  // the mask: all opaque
    return out;
}

Bytes Emf() {
    Bytes out;
    Put(out, 1, 4);  // the header
    Put(out, 108, 4);
    for (std::uint32_t v : {0u, 0u, 99u, 99u, 0u, 0u, 2540u, 2540u})
        Put(out, v, 4);
    Put(out, 0x464D4520, 4);  // " EMF"
    Put(out, 0x10000, 4);
    Put(out, 0, 4);  // bytes, set below
    Put(out, 7 + 1, 4);
    Put(out, 2, 2);  // handles: the metafile and one brush
    Put(out, 0, 2);
    for (std::uint32_t v : {0u, 0u, 0u, 1024u, 768u, 320u, 240u, 0u, 0u, 0u, 320000u, 240000u})
        Put(out, v, 4);

    Put(out, 39, 4);  // a brush in slot 1
    Put(out, 24, 4);
    Put(out, 1, 4);
    Put(out, 0, 4);
    Put(out, 0x2060A0, 4);
    Put(out, 0, 4);
    Put(out, 37, 4);  // selected
    Put(out, 12, 4);
    Put(out, 1, 4);

    Put(out, 3, 4);  // a triangle
    Put(out, 52, 4);
    for (std::uint32_t v : {0u, 0u, 99u, 99u, 3u, 0u, 0u, 99u, 0u, 50u, 99u})
        Put(out, v, 4);

    Put(out, 84, 4);  // "Hi", with its character spacing
    Put(out, 88, 4);
    for (std::uint32_t v : {0u, 0u, 99u, 99u, 1u, 0u, 0u, 10u, 10u, 2u, 76u, 0u, 0u, 0u, 99u, 99u})
        Put(out, v, 4);
    Put(out, 80, 4);
    Put(out, 'H' | 'i' << 16, 4);
    Put(out, 8, 4);
    Put(out, 8, 4);

    Put(out, 81, 4);  // a 2 x 2 bitmap stretched
    Put(out, 136, 4);
    for (std::uint32_t v : {0u, 0u, 99u, 99u, 10u, 10u, 0u, 0u, 2u, 2u, 80u, 40u, 120u, 16u, 0u,
                            0x00CC0020u, 20u, 20u})
        Put(out, v, 4);
    PutDib(out);

    Put(out, 40, 4);  // the brush deleted
    Put(out, 12, 4);
    Put(out, 1, 4);
    Put(out, 14, 4);  // the end
    Put(out, 20, 4);
    Put(out, 0, 4);
    Put(out, 16, 4);
    Put(out, 20, 4);
    Set(out, 48, static_cast<std::uint32_t>(out.size()), 4);
    return out;
}

Bytes Wmf() {
    Bytes out;
    Put(out, 1, 2);  // the header: in memory, 9 words long, version 3
    Put(out, 9, 2);
    Put(out, 0x0300, 2);
    Put(out, 0, 4);  // words, set below
    Put(out, 1, 2);  // one object
    Put(out, 42, 4);
    Put(out, 0, 2);

    for (std::uint32_t v : {7u, 0x02FCu, 0u, 0x60A0u, 0x20u, 0u})  // a brush
        Put(out, v, v == 7u ? 4 : 2);
    Put(out, 4, 4);  // selected
    Put(out, 0x012D, 2);
    Put(out, 0, 2);
    Put(out, 10, 4);  // a triangle
    Put(out, 0x0324, 2);
    for (std::uint32_t v : {3u, 0u, 0u, 99u, 0u, 50u, 99u})
        Put(out, v, 2);
    Put(out, 7, 4);  // "Hi" at 10, 10
    Put(out, 0x0521, 2);
    Put(out, 2, 2);
    out.push_back('H');
    out.push_back('i');
    Put(out, 10, 2);
    Put(out, 10, 2);
    Put(out, 42, 4);  // a 2 x 2 bitmap stretched
    Put(out, 0x0F43, 2);
    Put(out, 0x00CC0020, 4);
    for (std::uint32_t v : {0u, 2u, 2u, 0u, 0u, 20u, 20u, 10u, 10u})
        Put(out, v, 2);
    PutDib(out);
    Put(out, 4, 4);  // the brush deleted
    Put(out, 0x01F0, 2);
    Put(out, 0, 2);
    Put(out, 5, 4);  // the window: 1440 x 1440, an inch as drawing programs write it
    Put(out, 0x020C, 2);
    Put(out, 1440, 2);
    Put(out, 1440, 2);
    Put(out, 3, 4);  // the end
    Put(out, 0, 2);
    Set(out, 6, static_cast<std::uint32_t>(out.size() / 2), 4);
    return out;
}

Bytes WmfRecord(std::uint16_t function, std::initializer_list<std::uint16_t> words,
                const Bytes& more) {
    Bytes out;
    Put(out, static_cast<std::uint32_t>(3 + words.size() + more.size() / 2), 4);
    Put(out, function, 2);
    for (std::uint16_t word : words)
        Put(out, word, 2);
    out.insert(out.end(), more.begin(), more.end());
    return out;
}

Bytes WithRecord(Bytes wmf, std::size_t at, const Bytes& record) {
    wmf.insert(wmf.begin() + static_cast<long>(at), record.begin(), record.end());
    Set(wmf, 6, static_cast<std::uint32_t>(wmf.size() / 2), 4);
    Set(wmf, 12, std::max<std::uint32_t>(wmf[12] | wmf[13] << 8, record.size() / 2), 4);
    return wmf;
}

std::vector<NamedFile> SoundFiles() {
    return {
        {"sound.bmp", Bmp(4, 2)},
        {"sound-top-down.bmp", Bmp(5, -3)},
        {"sound-rle.bmp", Bmp(3, 2, &kSoundRle)},
        {"sound.gif", Gif(1, 1, 1, 1, kOneGifPixel)},
        {"sound.ico", Icon(16)},
        {"sound.emf", Emf()},
        {"sound.wmf", Wmf()},
    };
}

std::vector<NamedFile> HostileRasters() {
    const auto bmp = [](const std::function<void(Bytes&)>& change) {
        return Changed(Bmp(3, 2), change);
    };
    const auto rle = [](std::int32_t w, std::int32_t h, Bytes codes) { return Bmp(w, h, &codes); };
    const auto jpeg = [](const std::function<void(Bytes&)>& change) {
        return Changed(Jpeg(64, 48), change);
    };
    const auto icon = [](const std::function<void(Bytes&)>& change) {
        return Changed(Icon(16), change);
    };
    const Bytes pngInIcon = icon([](Bytes& f) {
        const std::uint8_t png[] = {0x89, 'P', 'N', 'G', 13,  10,  26,  10,
                                    0,    0,   0,   13,  'I', 'H', 'D', 'R'};
        std::copy(std::begin(png), std::end(png), f.begin() + 22);
        Set(f, 22 + 16, 0xA0860100, 4);  // 100000 wide, big-endian
    });
    return {
        {"bmp-65535x65535.bmp", bmp([](Bytes& f) {
             Set(f, 18, 65535, 4);
             Set(f, 22, 65535, 4);
         })},
        {"bmp-row-size-overflows.bmp", bmp([](Bytes& f) { Set(f, 18, 0x7FFFFFFF, 4); })},
        {"bmp-negative-width.bmp", bmp([](Bytes& f) { Set(f, 18, 0xFFFFFFFD, 4); })},
        {"bmp-height-minus-2-31.bmp", bmp([](Bytes& f) { Set(f, 22, 0x80000000, 4); })},
        {"bmp-no-planes.bmp", bmp([](Bytes& f) { Set(f, 26, 0, 2); })},
        {"bmp-7-bits.bmp", bmp([](Bytes& f) { Set(f, 28, 7, 2); })},
        {"bmp-holding-jpeg.bmp", bmp([](Bytes& f) { Set(f, 30, 4, 4); })},
        {"bmp-unknown-header.bmp", bmp([](Bytes& f) { Set(f, 14, 41, 4); })},
        {"bmp-pixels-past-end.bmp", bmp([](Bytes& f) { Set(f, 10, 1000, 4); })},
        {"bmp-rows-cut.bmp", bmp([](Bytes& f) { f.resize(f.size() - 9); })},
        {"bmp-300-colours.bmp", bmp([](Bytes& f) {
             Set(f, 28, 8, 2);
             Set(f, 46, 300, 4);
         })},
        {"bmp-rle-20000x20000.bmp", rle(20000, 20000, {0, 1})},
        {"bmp-rle-run-past-row.bmp", rle(3, 2, {4, 7, 0, 1})},
        {"bmp-rle-runs-past-last-row.bmp", rle(3, 1, {3, 7, 0, 0, 3, 7, 0, 1})},
        {"bmp-rle-jump-out.bmp", rle(3, 2, {0, 2, 1, 5, 0, 1})},
        {"bmp-rle-written-past-data.bmp", rle(3, 2, {0, 3, 1})},
        {"bmp-rle-written-past-row.bmp", rle(3, 2, {0, 4, 1, 2, 3, 4, 0, 1})},
        {"bmp-rle-no-end.bmp", rle(3, 2, {2, 7, 0, 0})},
        {"bmp-rle-in-24-bit.bmp", bmp([](Bytes& f) { Set(f, 30, 1, 4); })},
        {"gif-screen-65535x65535.gif", Gif(65535, 65535, 1, 1, kOneGifPixel)},
        {"gif-image-65535x65535.gif", Gif(1, 1, 65535, 65535, kOneGifPixel)},
        {"gif-image-no-width.gif", Gif(1, 1, 0, 1, kOneGifPixel)},
        {"gif-lzw-code-undefined.gif", Gif(2, 2, 2, 2, {0x74, 0x01})},         // clear, 7
        {"gif-lzw-first-code-not-colour.gif", Gif(1, 1, 1, 1, {0x34, 0x01})},  // clear, 6
        {"gif-lzw-code-size-12.gif", Gif(1, 1, 1, 1, kOneGifPixel, 12)},
        {"gif-sub-block-past-end.gif",
         Changed(Gif(1, 1, 1, 1, kOneGifPixel), [](Bytes& f) { f.resize(f.size() - 3); })},
        {"gif-no-image.gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}},
        {"jpeg-65500x65500.jpg", Jpeg(65500, 65500)},
        {"jpeg-no-height.jpg", Jpeg(64, 0)},
        {"jpeg-16-bit.jpg", Jpeg(64, 48, 16)},
        {"jpeg-segment-past-end.jpg", jpeg([](Bytes& f) { f[5] = 0xFF; })},
        {"jpeg-segment-length-1.jpg", jpeg([](Bytes& f) { f[5] = 1; })},
        {"jpeg-scan-before-frame.jpg", jpeg([](Bytes& f) { f[21] = 0xDA; })},
        {"jpeg-no-components.jpg", jpeg([](Bytes& f) { f[29] = 0; })},
        {"jpeg-sampling-0.jpg", jpeg([](Bytes& f) { f[31] = 0x02; })},
        {"jpeg-end-before-frame.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xD9}},
        // Stray bytes between segments are passed over as the decoder does; what follows them
        // is checked all the same.
        {"jpeg-65500x65500-after-stray-bytes.jpg",
         Changed(Jpeg(65500, 65500),
                 [](Bytes& f) {
                     f.insert(f.begin() + 20, {0x00, 0x7F, 0xFF, 0x00, 0xC0});
                 })},
        {"jpeg-frame-marker-lost.jpg", jpeg([](Bytes& f) { f[20] = 0x00; })},
        {"jpeg-stray-bytes-to-the-end.jpg",
         Changed(Jpeg(64, 48), [](Bytes& f) { std::fill(f.begin() + 20, f.end(), 0x5A); })},
        {"ico-1000-pictures.ico", Icon(16, 1000)},
        {"ico-picture-past-end.ico", icon([](Bytes& f) { Set(f, 18, 5000, 4); })},
        {"ico-picture-longer-than-file.ico", icon([](Bytes& f) { Set(f, 14, 0x7FFFFFFF, 4); })},
        {"ico-picture-in-directory.ico", icon([](Bytes& f) { Set(f, 18, 6, 4); })},
        {"ico-picture-65535-wide.ico", icon([](Bytes& f) { Set(f, 26, 65535, 4); })},
        {"ico-picture-larger-than-bytes.ico", icon([](Bytes& f) { Set(f, 26, 64, 4); })},
        {"ico-png-100000-wide.ico", pngInIcon},
        {"ico-cursor.ico", icon([](Bytes& f) { Set(f, 2, 2, 2); })},
        {"ico-65535-entries-of-one-png.ico",
         [&pngInIcon] {
             // Every entry the same 1024 x 1024 PNG: small, but each one decoded.
             Bytes png(pngInIcon.begin() + 22, pngInIcon.end());
             Set(png, 16, 0x00040000, 4);  // 1024 x 1024, big-endian
             Set(png, 20, 0x00040000, 4);
             Bytes f(pngInIcon.begin(), pngInIcon.begin() + 22);
             Set(f, 4, 65535, 2);
             Set(f, 18, 6 + 16 * 65535, 4);
             const Bytes entry(f.begin() + 6, f.end());
             for (int i = 1; i < 65535; ++i)
                 f.insert(f.end(), entry.begin(), entry.end());
             f.insert(f.end(), png.begin(), png.end());
             return f;
         }()},
        {"gif-5000-frames-of-8192x8192.gif",
         [] {
             // A tiny image each, but decoders that read every frame make each one whole.
             Bytes f = Gif(8192, 8192, 8192, 8192, kOneGifPixel);
             const Bytes frame(f.begin() + 19, f.end() - 1);
             f.pop_back();
             for (int i = 1; i < 5000; ++i)
                 f.insert(f.end(), frame.begin(), frame.end());
             f.push_back(0x3B);
             return f;
         }()},
        {"random-bytes.jpg", Bytes{0x12, 0x34, 0x56, 0x78, 0x9A}},
    };
}

std::vector<NamedFile> HostileMetafiles() {
    const auto emf = [](const std::function<void(Bytes&)>& change) {
        return Changed(Emf(), change);
    };
    const auto wmf = [](const std::function<void(Bytes&)>& change) {
        return Changed(Wmf(), change);
    };
    constexpr bool kDrawn = true;  // without its damaged record
    return {
        {"emf-brush-index-at-handle-count.emf", emf([](Bytes& f) { Set(f, kEmfBrush + 8, 2, 4); })},
        {"emf-brush-index-far.emf", emf([](Bytes& f) { Set(f, kEmfBrush + 8, 0x7FFFFFFF, 4); })},
        {"emf-brush-in-slot-0.emf", emf([](Bytes& f) { Set(f, kEmfBrush + 8, 0, 4); })},
        {"emf-no-handles.emf", emf([](Bytes& f) { Set(f, 56, 0, 2); })},
        {"emf-select-index-beyond.emf", emf([](Bytes& f) { Set(f, kEmfSelect + 8, 5, 4); })},
        {"emf-delete-index-beyond.emf", emf([](Bytes& f) { Set(f, kEmfDelete + 8, 2, 4); })},
        {"emf-text-offset-outside.emf", emf([](Bytes& f) { Set(f, kEmfText + 48, 1000, 4); }),
         kDrawn},
        {"emf-text-length-outside.emf", emf([](Bytes& f) { Set(f, kEmfText + 44, 0x40000000, 4); }),
         kDrawn},
        {"emf-text-spacing-outside.emf", emf([](Bytes& f) { Set(f, kEmfText + 72, 84, 4); }),
         kDrawn},
        {"emf-polygon-count-huge.emf",
         emf([](Bytes& f) { Set(f, kEmfPolygon + 24, 0x10000000, 4); }), kDrawn},
        {"emf-record-size-0.emf", emf([](Bytes& f) { Set(f, kEmfSelect + 4, 0, 4); })},
        {"emf-record-size-unaligned.emf", emf([](Bytes& f) { Set(f, kEmfPolygon + 4, 50, 4); })},
        {"emf-record-too-short.emf", emf([](Bytes& f) { Set(f, kEmfBrush + 4, 12, 4); })},
        {"emf-record-past-end.emf", emf([](Bytes& f) { Set(f, kEmfEof + 4, 1000, 4); })},
        {"emf-no-eof.emf", emf([](Bytes& f) { Set(f, kEmfEof, 70, 4); })},
        {"emf-records-after-eof.emf", emf([](Bytes& f) {
             // The end moved before the bitmap, which the header still counts in.
             Set(f, kEmfBitmap, 14, 4);
             Set(f, kEmfBitmap + 8, 0, 4);
         })},
        {"emf-unknown-record.emf", emf([](Bytes& f) { Set(f, kEmfSelect, 200, 4); })},
        {"emf-bitmap-65535x65535.emf", emf([](Bytes& f) {
             Set(f, kEmfBitmap + 84, 65535, 4);
             Set(f, kEmfBitmap + 88, 65535, 4);
         }),
         kDrawn},
        {"emf-bitmap-rows-short.emf", emf([](Bytes& f) { Set(f, kEmfBitmap + 60, 8, 4); }), kDrawn},
        {"emf-bitmap-outside.emf", emf([](Bytes& f) { Set(f, kEmfBitmap + 48, 2000, 4); }), kDrawn},
        {"emf-length-past-file.emf", emf([](Bytes& f) { Set(f, 48, 100000, 4); })},
        {"wmf-select-index-at-object-count.wmf",
         wmf([](Bytes& f) { Set(f, kWmfSelect + 6, 1, 2); })},
        {"wmf-select-index-far.wmf", wmf([](Bytes& f) { Set(f, kWmfSelect + 6, 0xFFFF, 2); })},
        {"wmf-delete-index-beyond.wmf", wmf([](Bytes& f) { Set(f, kWmfDelete + 6, 3, 2); })},
        {"wmf-no-objects.wmf", wmf([](Bytes& f) { Set(f, 10, 0, 2); })},
        {"wmf-polygon-count-huge.wmf", wmf([](Bytes& f) { Set(f, kWmfPolygon + 6, 0x7FFF, 2); }),
         kDrawn},
        {"wmf-text-length-outside.wmf", wmf([](Bytes& f) { Set(f, kWmfText + 6, 200, 2); }),
         kDrawn},
        {"wmf-record-size-0.wmf", wmf([](Bytes& f) { Set(f, kWmfSelect, 0, 4); })},
        {"wmf-record-size-2-words.wmf", wmf([](Bytes& f) { Set(f, kWmfSelect, 2, 4); })},
        {"wmf-record-too-short.wmf", wmf([](Bytes& f) { Set(f, kWmfSelect, 3, 4); })},
        {"wmf-record-past-end.wmf", wmf([](Bytes& f) { Set(f, kWmfEof, 1000, 4); })},
        {"wmf-no-eof.wmf", wmf([](Bytes& f) { Set(f, kWmfEof + 4, 0x001E, 2); })},
        {"wmf-bitmap-65535x65535.wmf", wmf([](Bytes& f) {
             Set(f, kWmfBitmap + 28 + 4, 65535, 4);
             Set(f, kWmfBitmap + 28 + 8, 65535, 4);
         }),
         kDrawn},
        {"wmf-bitmap-rows-short.wmf", wmf([](Bytes& f) { Set(f, kWmfBitmap + 28 + 8, 3, 4); }),
         kDrawn},
    };
}

}  // namespace glimra::corpus
