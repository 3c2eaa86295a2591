#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "corpus/HostileFiles.h"
#include "imaging/HeaderChecks.h"

namespace glimra {
namespace {

using corpus::Bytes;

RasterKind Check(const Bytes& file) {
    return CheckRasterHeaders(file.data(), file.size());
}

TEST(HeaderChecks, SoundPicturesOfEachKindPass) {
    const struct {
        const char* name;
        Bytes file;
        RasterKind kind;
    } cases[] = {
        {"24-bit bitmap", corpus::Bmp(3, 2), RasterKind::Bmp},
        {"top-down bitmap", corpus::Bmp(5, -3), RasterKind::Bmp},
        {"RLE8 bitmap", corpus::Bmp(3, 2, &corpus::kSoundRle), RasterKind::Bmp},
        {"GIF", corpus::Gif(1, 1, 1, 1, corpus::kOneGifPixel), RasterKind::Gif},
        {"JPEG", corpus::Jpeg(6000, 4000), RasterKind::Jpeg},
        {"JPEG at the bound", corpus::Jpeg(16384, 16384), RasterKind::Jpeg},
        {"icon", corpus::Icon(16), RasterKind::Icon},
        {"GIF of four frames at the bound",
         [] {
             corpus::Bytes gif = corpus::Gif(8192, 8192, 8192, 8192, corpus::kOneGifPixel);
             const corpus::Bytes frame(gif.begin() + 19, gif.end() - 1);
             gif.pop_back();
             for (int i = 1; i < 4; ++i)
                 gif.insert(gif.end(), frame.begin(), frame.end());
             gif.push_back(0x3B);
             return gif;
         }(),
         RasterKind::Gif},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check(c.file), c.kind) << c.name;
}

TEST(HeaderChecks, DamagedOrHostileHeadersAreRefused) {
    for (const corpus::NamedFile& file : corpus::HostileRasters())
        EXPECT_EQ(Check(file.bytes), RasterKind::None) << file.name;
}

TEST(HeaderChecks, StrayBytesBetweenJpegSegmentsArePassedOverAsTheDecoderDoes) {
    // The JPEG's frame marker starts at byte 20, after its 16-byte APP0 segment. A damaged
    // marker whose segment the decoder cannot find, or a frame after the stray bytes that
    // claims too much, is still refused (the hostile corpus).
    const auto damaged = [](const std::function<void(Bytes&)>& change) {
        Bytes file = corpus::Jpeg(640, 480);
        change(file);
        return file;
    };
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"00 for the FF of APP0", damaged([](Bytes& f) { f[2] = 0x00; })},
        {"one 00 byte before the frame", damaged([](Bytes& f) { f.insert(f.begin() + 20, 0); })},
        {"random bytes before the frame", damaged([](Bytes& f) {
             f.insert(f.begin() + 20, {0x13, 0x00, 0xD8, 0xC0, 0x7E});
         })},
        {"FF 00 pairs before the scan", damaged([](Bytes& f) {
             f.insert(f.begin() + 39, {0xFF, 0x00, 0x55, 0xFF, 0x00});
         })},
        {"fill bytes before the frame", damaged([](Bytes& f) {
             f.insert(f.begin() + 20, {0xFF, 0xFF});
         })},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check(c.file), RasterKind::Jpeg) << c.name;
}

TEST(HeaderChecks, EveryCutOrChangedByteIsReadSafely) {
    // Under the sanitizers any read outside the file fails here. Cut short, every kind is
    // refused but JPEG, whose scan data is not walked, and a GIF that lacks only its trailer.
    const Bytes files[] = {corpus::Bmp(4, 2), corpus::Bmp(3, 2, &corpus::kSoundRle),
                           corpus::Gif(1, 1, 1, 1, corpus::kOneGifPixel), corpus::Jpeg(64, 48),
                           corpus::Icon(16)};
    std::mt19937 random(11);
    for (const Bytes& file : files) {
        const RasterKind kind = Check(file);
        ASSERT_NE(kind, RasterKind::None);
        for (std::size_t cut = 0; cut < file.size(); ++cut) {
            const RasterKind got =
                Check(Bytes(file.begin(), file.begin() + static_cast<long>(cut)));
            if (kind != RasterKind::Jpeg && !(kind == RasterKind::Gif && cut == file.size() - 1)) {
                EXPECT_EQ(got, RasterKind::None) << cut;
            }
        }
        for (int round = 0; round < 3000; ++round) {
            Bytes changed = file;
            for (int i = 0; i < 3; ++i)
                changed[random() % changed.size()] = static_cast<std::uint8_t>(random());
            const RasterKind got = Check(changed);
            EXPECT_TRUE(got == RasterKind::None || got == kind);
        }
    }
    EXPECT_EQ(CheckRasterHeaders(nullptr, 10), RasterKind::None);
}

}  // namespace
}  // namespace glimra
