#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "imaging/AreaScaler.h"
#include "imaging/ColourProfile.h"
#include "imaging/LightCurve.h"

namespace glimra {
namespace {

double SrgbEncode(double linear) {
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

// A reduction by a whole factor, done in double: light averaged exactly, then rounded.
PixelBuffer ExactLightReduction(const PixelBuffer& src, int factor) {
    const int width = src.width / factor, height = src.height / factor;
    PixelBuffer out{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double light[4] = {};
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i) {
                    const std::uint32_t p = src.pixels[std::size_t(y * factor + j) * src.width +
                                                       std::size_t(x * factor + i)];
                    for (int c = 0; c < 3; ++c)
                        light[c] += LightCurve::SrgbToLinear(((p >> 8 * c) & 255) / 255.0);
                    light[3] += (p >> 24) / 255.0;
                }
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) {
                const double mean = light[c] / (factor * factor);
                const double value = c < 3 ? SrgbEncode(mean) : mean;
                pixel |= static_cast<std::uint32_t>(std::lround(value * 255)) << 8 * c;
            }
            out.pixels[std::size_t(y) * width + x] = pixel;
        }
    }
    return out;
}

int LargestDifference(const PixelBuffer& a, const PixelBuffer& b) {
    int largest = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int c = 0; c < 4; ++c)
            largest = std::max(largest, std::abs(int((a.pixels[i] >> 8 * c) & 255) -
                                                 int((b.pixels[i] >> 8 * c) & 255)));
    return largest;
}

TEST(LightCurve, TablesGoThereAndBackExactlyAndRoundAsExactArithmetic) {
    const LightCurve& srgb = LightCurve::Srgb();
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(srgb.Encoded(srgb.Linear(static_cast<std::uint8_t>(v))), v);
    // Every light, back to a stored number, is off by at most one from exact rounding, and only
    // where the light lies within a table step of a rounding boundary.
    int off = 0;
    for (int i = 0; i <= 100000; ++i) {
        const double light = i / 100000.0;
        const long exact = std::lround(SrgbEncode(light) * 255);
        const int got = srgb.Encoded(static_cast<float>(light));
        EXPECT_LE(std::abs(got - exact), 1) << light;
        off += got != exact;
    }
    EXPECT_LT(off, 500);  // 402 of these 100,001 lights
}

TEST(AreaScaler, ReductionsAverageLight) {
    struct Case {
        const char* what;
        std::uint32_t a, b;    // alternate rows
        std::uint32_t expect;  // 2:1
    } cases[] = {
        {"black and white lines: half the light", 0xFF000000, 0xFFFFFFFF, 0xFFBCBCBC},
        {"red and green lines", 0xFFFF0000, 0xFF00FF00, 0xFFBCBC00},
        {"flat colour stays exact", 0xFF254A7F, 0xFF254A7F, 0xFF254A7F},
        {"alpha is averaged as it is", 0x00000000, 0xFFFFFFFF, 0x80BCBCBC},
    };
    for (const Case& c : cases) {
        PixelBuffer lines{8, 8, {}};
        for (int y = 0; y < 8; ++y)
            lines.pixels.insert(lines.pixels.end(), 8, y % 2 ? c.b : c.a);
        const PixelBuffer reduced = ScaleArea(lines, 4, 4, &LightCurve::Srgb());
        for (std::uint32_t pixel : reduced.pixels)
            EXPECT_EQ(pixel, c.expect) << c.what;
        // Without a curve the numbers themselves are averaged, as before.
        EXPECT_EQ(ScaleArea(lines, 4, 4).pixels[0] & 0xFF, ((c.a & 0xFF) + (c.b & 0xFF) + 1) / 2)
            << c.what;
    }
}

TEST(AreaScaler, LightIsWithinOneLevelOfExactArithmeticAndLeavesUnreducedPicturesExact) {
    std::mt19937 random(7);
    PixelBuffer noise{96, 72, std::vector<std::uint32_t>(96 * 72)};
    for (auto& pixel : noise.pixels)
        pixel = static_cast<std::uint32_t>(random());
    for (int factor : {2, 3, 4}) {
        const PixelBuffer ours = ScaleArea(noise, 96 / factor, 72 / factor, &LightCurve::Srgb());
        EXPECT_LE(LargestDifference(ours, ExactLightReduction(noise, factor)), 1) << factor;
    }
    // Same size, or only enlarged: no pixel is averaged, so nothing changes.
    EXPECT_EQ(ScaleArea(noise, 96, 72, &LightCurve::Srgb()).pixels, noise.pixels);
    EXPECT_EQ(ScaleArea(noise, 192, 144, &LightCurve::Srgb()).pixels,
              ScaleArea(noise, 192, 144).pixels);
}

// --- profiles

std::vector<std::uint8_t> With(std::vector<std::uint8_t> bytes, std::size_t at, const char* text) {
    std::memcpy(bytes.data() + at, text, 4);
    return bytes;
}
std::vector<std::uint8_t> WithU32(std::vector<std::uint8_t> bytes, std::size_t at,
                                  std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    return bytes;
}

TEST(ColourProfile, OnlyInputProfilesOfThePixelsSpaceServe) {
    const std::vector<std::uint8_t> adobe = AdobeRgbProfile();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> profile;
        ProfileSpace pixels;
        bool serves;
    } cases[] = {
        {"sound RGB profile", adobe, ProfileSpace::Rgb, true},
        {"RGB profile for grey pixels", adobe, ProfileSpace::Grey, false},
        {"truncated", std::vector<std::uint8_t>(adobe.begin(), adobe.end() - 40), ProfileSpace::Rgb,
         false},
        {"device link", With(adobe, 12, "link"), ProfileSpace::Rgb, false},
        {"abstract", With(adobe, 12, "abst"), ProfileSpace::Rgb, false},
        {"CMYK profile on RGB pixels", With(adobe, 16, "CMYK"), ProfileSpace::Rgb, false},
        {"no signature", With(adobe, 36, "xxxx"), ProfileSpace::Rgb, false},
        {"Lab connection", With(adobe, 20, "Lab "), ProfileSpace::Rgb, true},
        {"unknown connection", With(adobe, 20, "RGB "), ProfileSpace::Rgb, false},
        {"tag past the end", WithU32(adobe, 132 + 4, 0x7FFFFFF0), ProfileSpace::Rgb, false},
        {"more tags than room", WithU32(adobe, 128, 100000), ProfileSpace::Rgb, false},
        {"a colorant missing", With(adobe, 132 + 2 * 12, "zzzz"), ProfileSpace::Rgb, false},
        {"over the size cap", std::vector<std::uint8_t>(kMaxProfileBytes + 1), ProfileSpace::Rgb,
         false},
        {"empty", {}, ProfileSpace::Rgb, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckInputProfile(c.profile, c.pixels).has_value(), c.serves) << c.what;

    const auto sound = CheckInputProfile(adobe, ProfileSpace::Rgb);
    ASSERT_TRUE(sound && sound->toLinear);
    EXPECT_NEAR(sound->toLinear(0.5), std::pow(0.5, 563.0 / 256.0), 1e-6);
    EXPECT_EQ(sound->intent, 0);
    EXPECT_EQ(CheckInputProfile(WithU32(adobe, 64, 1), ProfileSpace::Rgb)->intent, 1);
    EXPECT_EQ(CheckInputProfile(WithU32(adobe, 64, 9), ProfileSpace::Rgb)->intent, 0);
}

TEST(ColourProfile, AdobeRgbMadeFromItsPrimariesHasItsPublishedColorants) {
    const std::vector<std::uint8_t> profile = AdobeRgbProfile();
    const auto fixed = [&](std::size_t at) {
        return static_cast<std::int32_t>(std::uint32_t(profile[at]) << 24 |
                                         std::uint32_t(profile[at + 1]) << 16 |
                                         std::uint32_t(profile[at + 2]) << 8 | profile[at + 3]) /
               65536.0;
    };
    // D50-adapted colorants as Adobe publishes them; the tags follow desc and wtpt.
    const double expected[3][3] = {
        {0.6097, 0.3111, 0.0195}, {0.2053, 0.6257, 0.0609}, {0.1492, 0.0632, 0.7446}};
    for (int c = 0; c < 3; ++c) {
        const std::size_t entry = 132 + 12 * (2 + c);
        const std::size_t at = std::uint32_t(profile[entry + 4]) << 24 |
                               std::uint32_t(profile[entry + 5]) << 16 |
                               std::uint32_t(profile[entry + 6]) << 8 | profile[entry + 7];
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(fixed(at + 8 + 4 * i), expected[c][i], 0.0015) << c << i;
    }
}

// A JPEG's start, the given segments, and a scan.
std::vector<std::uint8_t> Jpeg(const std::vector<std::vector<std::uint8_t>>& segments) {
    std::vector<std::uint8_t> file = {0xFF, 0xD8};
    for (const auto& segment : segments)
        file.insert(file.end(), segment.begin(), segment.end());
    file.insert(file.end(), {0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
    return file;
}
std::vector<std::uint8_t> Segment(std::uint8_t marker, const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> segment = {0xFF, marker, std::uint8_t((body.size() + 2) >> 8),
                                         std::uint8_t(body.size() + 2)};
    segment.insert(segment.end(), body.begin(), body.end());
    return segment;
}
std::vector<std::uint8_t> IccChunk(int number, int count, std::vector<std::uint8_t> data) {
    std::vector<std::uint8_t> body = {'I',
                                      'C',
                                      'C',
                                      '_',
                                      'P',
                                      'R',
                                      'O',
                                      'F',
                                      'I',
                                      'L',
                                      'E',
                                      0,
                                      std::uint8_t(number),
                                      std::uint8_t(count)};
    body.insert(body.end(), data.begin(), data.end());
    return Segment(0xE2, body);
}

TEST(ColourProfile, JpegChunksAreJoinedInTheirOrderOrNotAtAll) {
    using Bytes = std::vector<std::uint8_t>;
    struct Case {
        const char* what;
        std::vector<Bytes> segments;
        Bytes profile;
    } cases[] = {
        {"one chunk", {IccChunk(1, 1, {1, 2, 3})}, {1, 2, 3}},
        {"chunks out of order", {IccChunk(2, 2, {3, 4}), IccChunk(1, 2, {1, 2})}, {1, 2, 3, 4}},
        {"other segments between",
         {IccChunk(1, 2, {1}), Segment(0xE1, {0, 0}), IccChunk(2, 2, {2})},
         {1, 2}},
        {"a chunk missing", {IccChunk(1, 3, {1}), IccChunk(3, 3, {3})}, {}},
        {"a chunk twice", {IccChunk(1, 2, {1}), IccChunk(1, 2, {1})}, {}},
        {"counts disagree", {IccChunk(1, 2, {1}), IccChunk(2, 3, {2})}, {}},
        {"chunk number zero", {IccChunk(0, 1, {1})}, {}},
        {"no profile", {Segment(0xE0, {'J', 'F', 'I', 'F', 0})}, {}},
    };
    for (const Case& c : cases) {
        const Bytes file = Jpeg(c.segments);
        EXPECT_EQ(JpegEmbeddedProfile(file.data(), file.size()), c.profile) << c.what;
    }
    // A chunk after the scan is not read.
    Bytes after = Jpeg({});
    const Bytes chunk = IccChunk(1, 1, {9});
    after.insert(after.end() - 2, chunk.begin(), chunk.end());
    EXPECT_TRUE(JpegEmbeddedProfile(after.data(), after.size()).empty());
}

// An EXIF block, big-endian, whose EXIF directory holds ColorSpace and an interoperability
// directory holding the index.
std::vector<std::uint8_t> ExifSegment(std::uint16_t colourSpace, const char* index) {
    std::vector<std::uint8_t> tiff = {'M', 'M', 0, 42, 0, 0, 0, 8};
    const auto u16 = [&](std::uint32_t v) {
        tiff.push_back(std::uint8_t(v >> 8));
        tiff.push_back(std::uint8_t(v));
    };
    const auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        u16(tag);
        u16(type);
        u16(0);
        u16(1);
        u16(value >> 16);
        u16(value & 0xFFFF);
    };
    // IFD0 at 8: one entry pointing to the EXIF directory at 26.
    u16(1);
    entry(0x8769, 4, 26);
    u16(0), u16(0);
    // EXIF directory at 26: ColorSpace, and the interoperability pointer to 56.
    u16(2);
    entry(0xA001, 3, std::uint32_t{colourSpace} << 16);
    entry(0xA005, 4, 56);
    u16(0), u16(0);
    // Interoperability directory at 56: the index, four ASCII bytes in the entry itself.
    u16(1);
    u16(0x0001), u16(2), u16(0), u16(4);
    tiff.insert(tiff.end(), index, index + 4);
    u16(0), u16(0);
    std::vector<std::uint8_t> body = {'E', 'x', 'i', 'f', 0, 0};
    body.insert(body.end(), tiff.begin(), tiff.end());
    return Segment(0xE1, body);
}

TEST(ColourProfile, ExifMeansAdobeRgbOnlyWhenUncalibratedWithIndexR03) {
    struct Case {
        std::uint16_t colourSpace;
        const char* index;
        bool adobe;
    } cases[] = {{0xFFFF, "R03", true}, {0xFFFF, "R98", false}, {1, "R03", false}};
    for (const Case& c : cases) {
        const auto file = Jpeg({ExifSegment(c.colourSpace, c.index)});
        EXPECT_EQ(JpegExifSaysAdobeRgb(file.data(), file.size()), c.adobe) << c.index;
    }
}

TEST(ColourProfile, BitmapsEmbedOrLinkProfiles) {
    // A file header and a version 5 info header, the profile right after it.
    std::vector<std::uint8_t> bmp(14 + 124 + 4, 0);
    const auto put = [&](std::size_t at, std::uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
    bmp[0] = 'B', bmp[1] = 'M';
    put(14, 124);
    put(14 + 112, 124);  // the profile's offset from the info header
    put(14 + 116, 4);
    std::memcpy(&bmp[14 + 124], "ICC!", 4);
    struct Case {
        std::uint32_t type, size;
        bool found;
    } cases[] = {
        {0x4D424544, 4, true},    // 'MBED'
        {0x4C494E4B, 4, false},   // 'LINK': a file path, never opened
        {0x4D424544, 40, false},  // past the end of the file
    };
    for (const Case& c : cases) {
        put(14 + 56, c.type);
        put(14 + 116, c.size);
        EXPECT_EQ(BmpEmbeddedProfile(bmp.data(), bmp.size()).size(), c.found ? 4u : 0u);
    }
}

}  // namespace
}  // namespace glimra
