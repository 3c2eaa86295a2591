#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include "imaging/AreaScaler.h"
#include "imaging/DecodeScale.h"
#include "imaging/ExifOrientation.h"
#include "imaging/PictureFit.h"
#include "imaging/PixelRecycler.h"
#include "imaging/TwoBandScaler.h"

namespace glimra {
namespace {

PixelBuffer RandomPicture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    PixelBuffer picture{width, height, {}};
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    for (auto& pixel : picture.pixels)
        pixel = static_cast<std::uint32_t>(random());
    return picture;
}

// How much of source pixel s lies under destination pixel d along one axis, in units where the
// weights of every destination add up to CoverageTotal; growing axes take the nearest pixel.
std::int64_t Coverage(std::int64_t s, std::int64_t d, std::int64_t source, std::int64_t dest) {
    if (dest > source) return s == (2 * d + 1) * source / (2 * dest) ? 1 : 0;
    const std::int64_t lo = std::max(s * dest, d * source);
    const std::int64_t hi = std::min((s + 1) * dest, (d + 1) * source);
    return std::max<std::int64_t>(0, hi - lo);
}
std::int64_t CoverageTotal(int source, int dest) {
    return dest > source ? 1 : source;
}

// Every destination pixel summed over every source pixel: slow, but plainly right.
PixelBuffer ReferenceScale(const PixelBuffer& src, int width, int height) {
    PixelBuffer out{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    const std::int64_t total = CoverageTotal(src.width, width) * CoverageTotal(src.height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::int64_t sum[4] = {};
            for (int j = 0; j < src.height; ++j) {
                for (int i = 0; i < src.width; ++i) {
                    const std::int64_t w =
                        Coverage(i, x, src.width, width) * Coverage(j, y, src.height, height);
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += w * ((src.pixels[std::size_t(j) * src.width + i] >> 8 * c) & 255);
                    }
                }
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) {
                pixel |= static_cast<std::uint32_t>((2 * sum[c] + total) / (2 * total)) << 8 * c;
            }
            out.pixels[std::size_t(y) * width + x] = pixel;
        }
    }
    return out;
}

TEST(AreaScaler, ThreePixelsIntoTwoWeighOneAndAHalf) {
    // Channels B, G, R, A of three source pixels, and the two averages they must give.
    struct Case {
        std::uint32_t a, b, c, first, second;
    } cases[] = {
        {0x00000000, 0x1E1E1E1E, 0x5A5A5A5A, 0x0A0A0A0A, 0x46464646},  // (0*2+30)/3, (30+90*2)/3
        {0x000000FF, 0x00000000, 0x00000000, 0x000000AA, 0x00000000},  // 170
        {0x00000001, 0x00000000, 0x00000000, 0x00000001, 0x00000000},  // 0.67 rounds up
        {0x00000000, 0x00000001, 0x00000000, 0x00000000, 0x00000000},  // 0.33 rounds down
        {0xFF000000, 0x80000000, 0x01000000, 0xD5000000, 0x2B000000},  // alpha alike
    };
    for (const Case& c : cases) {
        const PixelBuffer row{3, 1, {c.a, c.b, c.c}};
        const PixelBuffer column{1, 3, {c.a, c.b, c.c}};
        const std::vector<std::uint32_t> expected = {c.first, c.second};
        EXPECT_EQ(ScaleArea(row, 2, 1).pixels, expected) << std::hex << c.a << " " << c.b;
        EXPECT_EQ(ScaleArea(column, 1, 2).pixels, expected) << std::hex << c.a << " " << c.b;
    }
}

TEST(AreaScaler, MatchesExactCoverageForAnySizes) {
    const struct {
        int srcWidth, srcHeight, dstWidth, dstHeight;
    } cases[] = {
        {6, 4, 3, 2},     {7, 5, 3, 2},  {37, 23, 10, 7},  {23, 37, 7, 10}, {31, 17, 1, 1},
        {13, 11, 13, 11}, {5, 3, 12, 7}, {9, 4, 4, 9},     {4, 9, 9, 4},    {1, 1, 3, 2},
        {17, 1, 5, 1},    {1, 17, 1, 5}, {40, 30, 39, 29}, {11, 7, 2, 7},
    };
    unsigned seed = 1;
    for (const auto& c : cases) {
        const PixelBuffer source = RandomPicture(c.srcWidth, c.srcHeight, seed++);
        const PixelBuffer result = ScaleArea(source, c.dstWidth, c.dstHeight);
        ASSERT_EQ(result.width, c.dstWidth);
        ASSERT_EQ(result.height, c.dstHeight);
        EXPECT_EQ(result.pixels, ReferenceScale(source, c.dstWidth, c.dstHeight).pixels)
            << c.srcWidth << "x" << c.srcHeight << " -> " << c.dstWidth << "x" << c.dstHeight;
    }
}

TEST(AreaScaler, StripsAndRowPaddingDoNotChangeTheResult) {
    const PixelBuffer source = RandomPicture(29, 31, 7);
    const PixelBuffer whole = ScaleArea(source, 8, 9);
    const std::size_t stride = 4 * 29 + 12;
    std::vector<std::uint8_t> bytes(stride * 31, 0xEE);  // padding that must never be read
    for (int y = 0; y < 31; ++y)
        std::memcpy(&bytes[y * stride], &source.pixels[y * 29], 4 * 29);
    for (int strip : {1, 2, 3, 7, 31, 40}) {
        AreaScaler scaler(29, 31, 8, 9);
        for (int y = 0; y < 31; y += strip) {
            scaler.PushRows(&bytes[y * stride], std::min(strip, 31 - y), stride);
        }
        scaler.PushRows(bytes.data(), 5, stride);  // past the last row: ignored
        EXPECT_EQ(scaler.Finish().pixels, whole.pixels) << "strips of " << strip;
    }
    // Into memory of the caller's: the same rows, and what was never pushed left black.
    std::vector<std::uint32_t> into(8 * 9 + 1, 0xDEADBEEF);
    AreaScaler scaler(29, 31, 8, 9, into.data());
    scaler.PushRows(bytes.data(), 31, stride);
    EXPECT_TRUE(scaler.Finish().pixels.empty());
    EXPECT_EQ(std::vector<std::uint32_t>(into.begin(), into.end() - 1), whole.pixels);
    EXPECT_EQ(into.back(), 0xDEADBEEF) << "written past the rows";
    AreaScaler cut(29, 31, 8, 9, into.data());
    cut.PushRows(bytes.data(), 10, stride);
    cut.Finish();
    EXPECT_EQ(into[8 * 8], 0u) << "rows never pushed are transparent black";
}

TEST(TwoBandScaler, TwoThreadsAndThreeBytePixelsGiveExactlyTheOneThreadResult) {
    const struct {
        int srcWidth, srcHeight, dstWidth, dstHeight;
        bool light, into;
        int strip, bytes;
    } cases[] = {
        {1632, 1224, 1440, 1080, true, true, 64, 4},  // a photo on a screen
        {1632, 1224, 1440, 1080, true, true, 64, 3},  // as its codec decodes it
        {1632, 1224, 1440, 1080, false, false, 64, 4},
        {1025, 1024, 257, 301, true, false, 7, 3},     // odd widths, the split inside a span
        {1100, 1000, 1200, 500, true, true, 1000, 4},  // one axis grows, in one strip
        {1024, 1024, 300, 1024, false, true, 3, 3},    // only the width is reduced
        {2000, 400, 255, 100, true, true, 64, 4},      // too narrow to split: one thread
        {200, 100, 99, 51, false, false, 5, 3},        // small, three bytes, one thread
    };
    for (const auto& c : cases) {
        PixelBuffer source = RandomPicture(c.srcWidth, c.srcHeight, 11);
        // Three bytes a pixel are opaque: the same pixels with alpha 255 are the reference.
        std::vector<std::uint8_t> bytes;
        for (auto& pixel : source.pixels) {
            if (c.bytes == 4) continue;
            pixel |= 0xFF000000u;
            bytes.insert(bytes.end(), {std::uint8_t(pixel), std::uint8_t(pixel >> 8),
                                       std::uint8_t(pixel >> 16)});
        }
        if (c.bytes == 4) {
            const auto* first = reinterpret_cast<const std::uint8_t*>(source.pixels.data());
            bytes.assign(first, first + 4 * source.pixels.size());
        }
        const LightCurve* light = c.light ? &LightCurve::Srgb() : nullptr;
        const PixelBuffer whole = ScaleArea(source, c.dstWidth, c.dstHeight, light);
        const std::size_t count = std::size_t(c.dstWidth) * c.dstHeight;
        std::vector<std::uint32_t> into(c.into ? count + 1 : 0, 0xDEADBEEF);
        TwoBandScaler scaler(c.srcWidth, c.srcHeight, c.dstWidth, c.dstHeight,
                             c.into ? into.data() : nullptr, light, c.bytes);
        const std::size_t stride = std::size_t(c.bytes) * c.srcWidth;
        for (int y = 0; y < c.srcHeight; y += c.strip)
            scaler.PushRows(&bytes[stride * y], std::min(c.strip, c.srcHeight - y), stride);
        PixelBuffer result = scaler.Finish();
        EXPECT_EQ(result.width, c.dstWidth);
        EXPECT_EQ(result.height, c.dstHeight);
        if (c.into) {
            EXPECT_TRUE(result.pixels.empty());
            EXPECT_EQ(into.back(), 0xDEADBEEF) << "written past the rows";
            into.pop_back();
            result.pixels = into;
        }
        EXPECT_TRUE(result.pixels == whole.pixels)
            << c.srcWidth << "x" << c.srcHeight << " -> " << c.dstWidth << "x" << c.dstHeight
            << ", " << c.bytes << " bytes a pixel" << (c.light ? ", in light" : "")
            << (c.into ? ", into the caller's memory" : "");
    }
    // Rows never pushed are black in both halves; a scaler dropped unfinished ends its thread.
    std::vector<std::uint32_t> into(1440 * 1080, 0xDEADBEEF);
    const PixelBuffer source = RandomPicture(1632, 100, 3);
    TwoBandScaler cut(1632, 1224, 1440, 1080, into.data(), &LightCurve::Srgb());
    cut.PushRows(reinterpret_cast<const std::uint8_t*>(source.pixels.data()), 100, 4 * 1632);
    cut.Finish();
    EXPECT_EQ(into[1440 * 1079], 0u);
    EXPECT_EQ(into[1440 * 1080 - 1], 0u);
    TwoBandScaler dropped(1632, 1224, 1440, 1080, into.data(), nullptr);
    dropped.PushRows(reinterpret_cast<const std::uint8_t*>(source.pixels.data()), 100, 4 * 1632);
}

TEST(AreaScaler, UniformColourStaysExact) {
    const struct {
        int srcWidth, srcHeight, dstWidth, dstHeight;
    } cases[] = {
        {6000, 40, 1620, 11}, {997, 991, 13, 7},  {101, 103, 100, 102},
        {3, 2, 200, 100},     {2897, 2897, 1, 1},
    };
    for (std::uint32_t colour : {0xFFFFFFFFu, 0x00000000u, 0x80FF0001u, 0x7F3C9AD2u}) {
        for (const auto& c : cases) {
            // Every row the same: a zero stride repeats one row.
            const std::vector<std::uint32_t> row(c.srcWidth, colour);
            AreaScaler scaler(c.srcWidth, c.srcHeight, c.dstWidth, c.dstHeight);
            scaler.PushRows(reinterpret_cast<const std::uint8_t*>(row.data()), c.srcHeight, 0);
            const PixelBuffer result = scaler.Finish();
            EXPECT_EQ(result.pixels,
                      std::vector<std::uint32_t>(std::size_t(c.dstWidth) * c.dstHeight, colour))
                << std::hex << colour << std::dec << " " << c.srcWidth << "x" << c.srcHeight;
        }
    }
}

TEST(AreaScaler, HugeTotalsStillRoundExactly) {
    // 2897 x 2897 into 3 x 2 adds up more than 2^31 per channel. With identical rows every
    // destination pixel is its columns' average, which the reference gives on one row.
    const PixelBuffer row = RandomPicture(2897, 1, 3);
    AreaScaler scaler(2897, 2897, 3, 2);
    scaler.PushRows(reinterpret_cast<const std::uint8_t*>(row.pixels.data()), 2897, 0);
    const PixelBuffer result = scaler.Finish();
    const PixelBuffer expected = ReferenceScale(row, 3, 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(result.pixels[y * 3 + x], expected.pixels[x]);
    }
}

TEST(AreaScaler, GrowingRepeatsTheNearestPixel) {
    const PixelBuffer source{3, 2, {1, 2, 3, 4, 5, 6}};
    EXPECT_EQ(ScaleArea(source, 7, 2).pixels,
              (std::vector<std::uint32_t>{1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 5, 5, 6, 6}));
    EXPECT_EQ(ScaleArea(source, 3, 4).pixels,
              (std::vector<std::uint32_t>{1, 2, 3, 1, 2, 3, 4, 5, 6, 4, 5, 6}));
    EXPECT_EQ(ScaleArea(PixelBuffer{1, 1, {9}}, 4, 3).pixels, std::vector<std::uint32_t>(12, 9));
}

TEST(AreaScaler, SameSizeCopiesAndBadSourcesGiveNothing) {
    const PixelBuffer source = RandomPicture(17, 9, 11);
    EXPECT_EQ(ScaleArea(source, 17, 9).pixels, source.pixels);
    EXPECT_TRUE(ScaleArea(PixelBuffer{3, 3, {1, 2}}, 2, 2).pixels.empty());
    EXPECT_TRUE(ScaleArea(PixelBuffer{}, 2, 2).pixels.empty());
    EXPECT_TRUE(ScaleArea(source, 0, 2).pixels.empty());
}

TEST(PixelRecycler, TheNextPictureIsReducedIntoTheMemoryOfTheLastOneReleased) {
    const PixelBuffer source = RandomPicture(700, 500, 3);
    PixelBuffer first = ScaleArea(source, 640, 480);
    const std::uint32_t* memory = first.pixels.data();
    ReturnPixelStore(std::move(first.pixels));
    // Rows never pushed stay transparent black, whatever the memory held before.
    AreaScaler scaler(700, 500, 640, 480);
    scaler.PushRows(reinterpret_cast<const std::uint8_t*>(source.pixels.data()), 250, 700 * 4);
    const PixelBuffer half = scaler.Finish();
    EXPECT_EQ(half.pixels.data(), memory) << "not the released memory";
    EXPECT_TRUE(std::all_of(half.pixels.begin() + 640 * 240, half.pixels.end(),
                            [](std::uint32_t p) { return p == 0; }));
    EXPECT_TRUE(std::equal(half.pixels.begin(), half.pixels.begin() + 640 * 200,
                           ScaleArea(source, 640, 480).pixels.begin()));
}

TEST(PixelRecycler, KeepsOnlyLargeStoresAndHandsOutOnlyLargeEnoughOnes) {
    std::vector<std::uint32_t> small(1000);
    const std::uint32_t* smallMemory = small.data();
    ReturnPixelStore(std::move(small));
    EXPECT_NE(TakePixelStore(1000).data(), smallMemory);

    std::vector<std::uint32_t> large(1 << 20);
    const std::uint32_t* largeMemory = large.data();
    ReturnPixelStore(std::move(large));
    const std::vector<std::uint32_t> tooSmall = TakePixelStore((1 << 20) + 1);
    EXPECT_NE(tooSmall.data(), largeMemory);
    const std::vector<std::uint32_t> taken = TakePixelStore(1 << 19);
    EXPECT_EQ(taken.data(), largeMemory);
    EXPECT_TRUE(taken.empty());
    EXPECT_GE(taken.capacity(), std::size_t{1} << 19);
    EXPECT_NE(TakePixelStore(1 << 19).data(), largeMemory) << "handed out twice";
}

TEST(ApplyOrientation, TurnsEveryOrientationUpright) {
    // 1 2 3
    // 4 5 6
    const PixelBuffer source{3, 2, {1, 2, 3, 4, 5, 6}};
    const struct {
        int orientation, width, height;
        std::vector<std::uint32_t> pixels;
    } cases[] = {
        {1, 3, 2, {1, 2, 3, 4, 5, 6}}, {2, 3, 2, {3, 2, 1, 6, 5, 4}}, {3, 3, 2, {6, 5, 4, 3, 2, 1}},
        {4, 3, 2, {4, 5, 6, 1, 2, 3}}, {5, 2, 3, {1, 4, 2, 5, 3, 6}}, {6, 2, 3, {4, 1, 5, 2, 6, 3}},
        {7, 2, 3, {6, 3, 5, 2, 4, 1}}, {8, 2, 3, {3, 6, 2, 5, 1, 4}}, {0, 3, 2, {1, 2, 3, 4, 5, 6}},
        {9, 3, 2, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        const PixelBuffer upright = ApplyOrientation(source, c.orientation);
        EXPECT_EQ(upright.width, c.width) << c.orientation;
        EXPECT_EQ(upright.height, c.height) << c.orientation;
        EXPECT_EQ(upright.pixels, c.pixels) << c.orientation;
        std::vector<std::uint32_t> into(6);
        ApplyOrientation(source, c.orientation, into.data());
        EXPECT_EQ(into, c.pixels) << "into memory given, " << c.orientation;
        EXPECT_EQ(UprightSize(3, 2, c.orientation), std::make_pair(c.width, c.height));
    }
}

TEST(ReducedDecodeSize, PicksTheSmallestScaleStillCoveringTheTarget) {
    const struct {
        int width, height, targetWidth, targetHeight, expectedWidth, expectedHeight;
    } cases[] = {
        {6000, 4000, 1620, 1080, 3000, 2000},  // a quarter would be too small
        {6000, 4000, 750, 500, 750, 500},      // an eighth just fits
        {6000, 4000, 751, 500, 1500, 1000},   {6000, 4000, 1501, 1000, 3000, 2000},
        {6000, 4000, 3001, 2000, 6000, 4000},  // only the full size covers it
        {640, 480, 1920, 1080, 640, 480},      // smaller than the target: full size
        {1001, 999, 126, 125, 126, 125},       // eighths rounded up
        {1001, 999, 127, 125, 251, 250},      {1, 1, 1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReducedDecodeSize(c.width, c.height, c.targetWidth, c.targetHeight),
                  std::make_pair(c.expectedWidth, c.expectedHeight))
            << c.width << "x" << c.height << " for " << c.targetWidth << "x" << c.targetHeight;
    }
}

TEST(ShownRect, ReducesKeepingProportionsNeverEnlargesAndCentres) {
    const struct {
        int w, h, W, H;
        float twipsPerPixel;
        PixelRect expected;
    } cases[] = {
        {6000, 4000, 1024, 768, 15, {0, 43, 1024, 726}},  // 682.67 pixels high: 683, not 682
        {6000, 4000, 1024, 768, 10, {0, 43, 1024, 726}},  // the same at 144 dots per inch
        {6000, 4000, 1920, 1080, 15, {150, 0, 1770, 1080}},
        {640, 480, 800, 600, 15, {80, 60, 720, 540}},
        {2000, 500, 1024, 768, 15, {0, 256, 1024, 512}},
        {500, 2000, 1024, 768, 15, {416, 0, 608, 768}},
        {1, 1, 1024, 768, 15, {512, 384, 513, 385}},  // half pixels round away from zero
        {5000, 1, 100, 100, 15, {0, 50, 100, 51}},    // never thinner than a pixel
        {1925, 2250, 1920, 1080, 15, {498, 0, 1422, 1080}},
    };
    for (const auto& c : cases) {
        const PixelRect r = ShownRect(c.w, c.h, c.W, c.H, c.twipsPerPixel, c.twipsPerPixel);
        EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom),
                  std::tie(c.expected.left, c.expected.top, c.expected.right, c.expected.bottom))
            << c.w << "x" << c.h << " on " << c.W << "x" << c.H << ": " << r.left << "," << r.top
            << " " << r.Width() << "x" << r.Height();
    }
}

TEST(ShownRect, FitsEveryPictureOnEveryScreen) {
    const struct {
        int W, H;
        float twipsPerPixel;
    } screens[] = {{1024, 768, 15},  {1920, 1080, 15}, {2560, 1440, 15},
                   {3840, 2160, 15}, {1920, 1080, 10}, {3840, 2160, 10}};
    std::vector<int> sizes = {1,    2,    3,    640,  683,  767,  768,  769, 1080,
                              1224, 1440, 1632, 2000, 3000, 4000, 6000, 9000};
    for (int n = 5; n < 9000; n += 97)
        sizes.push_back(n);
    for (const auto& s : screens) {
        for (int w : sizes) {
            for (int h : sizes) {
                const PixelRect r = ShownRect(w, h, s.W, s.H, s.twipsPerPixel, s.twipsPerPixel);
                const auto where = [&] {
                    return ::testing::Message()
                           << w << "x" << h << " on " << s.W << "x" << s.H << " at "
                           << s.twipsPerPixel << " twips: " << r.left << "," << r.top << " "
                           << r.Width() << "x" << r.Height();
                };
                ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= s.W && r.bottom <= s.H)
                    << where();
                if (w <= s.W && h <= s.H) {
                    ASSERT_TRUE(r.Width() == w && r.Height() == h) << where();
                } else {
                    ASSERT_TRUE(r.Width() == s.W || r.Height() == s.H) << where();
                }
                // The proportions within one pixel, the margins within one pixel of each other.
                ASSERT_LE(std::abs(std::int64_t{r.Width()} * h - std::int64_t{r.Height()} * w),
                          std::max(w, h))
                    << where();
                ASSERT_LE(std::abs(r.left - (s.W - r.right)), 1) << where();
                ASSERT_LE(std::abs(r.top - (s.H - r.bottom)), 1) << where();
            }
        }
    }
}

TEST(PixelsOf, WherePictureLiesNeverChangesItsSize) {
    // 682.67 pixels high, at tops whose rounding goes either way.
    for (float top : {0.0f, 640.0f, 647.0f, 652.0f, 15 * 100.4f, 15 * 100.6f}) {
        const PixelRect r = PixelsOf({0, top, 15360, 10240}, 15, 15);
        EXPECT_EQ(r.Height(), 683) << top;
        EXPECT_EQ(r.Width(), 1024) << top;
    }
}

}  // namespace
}  // namespace glimra
