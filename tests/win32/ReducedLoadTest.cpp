#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win32/FrameWithReducedDecode.h"
#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/WicPictureLoader.h"

using Microsoft::WRL::ComPtr;

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;

// What the reduced decode may change against the full one: averaging in two steps instead of
// one rounds differently, most where the quadrants of a JPEG meet.
constexpr int kTolerance = 8;

// A JPEG of the four quadrants that shows them upright once turned after `orientation`.
Bytes TurnedJpeg(int uprightW, int uprightH, int orientation) {
    const Bytes jpeg = EncodeJpeg(StoredForOrientation(Quadrants(uprightW, uprightH), orientation));
    return orientation == 1 ? jpeg : WithExifOrientation(jpeg, orientation);
}

const PixelBuffer* Kept(const PicturePtr& picture) {
    const auto* raster = dynamic_cast<const RasterPicture*>(picture.get());
    return raster ? &raster->Pixels() : nullptr;
}

// Whether `actual` has the natural and kept sizes of `expected`, and each of its pixels lies,
// channel by channel, within `tolerance` of the range that `expected` spans around the same
// place (the pixel and its eight neighbours): flat areas match closely, while an edge may fall
// a fraction of a pixel elsewhere.
::testing::AssertionResult Matches(const PicturePtr& actual, const PicturePtr& expected,
                                   int tolerance) {
    const PixelBuffer *a = Kept(actual), *e = Kept(expected);
    if (!a || !e || actual->Width() != expected->Width() ||
        actual->Height() != expected->Height() || a->width != e->width || a->height != e->height) {
        return ::testing::AssertionFailure() << "not a raster picture of the same sizes";
    }
    for (int y = 0; y < a->height; ++y) {
        for (int x = 0; x < a->width; ++x) {
            for (int shift : {0, 8, 16}) {
                int low = 255, high = 0;
                for (int ny = std::max(0, y - 1); ny <= std::min(e->height - 1, y + 1); ++ny) {
                    for (int nx = std::max(0, x - 1); nx <= std::min(e->width - 1, x + 1); ++nx) {
                        const int v = static_cast<int>(ColorAt(*e, nx, ny) >> shift & 0xFF);
                        low = std::min(low, v);
                        high = std::max(high, v);
                    }
                }
                const int v = static_cast<int>(ColorAt(*a, x, y) >> shift & 0xFF);
                if (v < low - tolerance || v > high + tolerance) {
                    return ::testing::AssertionFailure()
                           << "pixel " << x << "," << y << ", channel at bit " << shift << ", is "
                           << v << " where the full decode has " << low << " to " << high;
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Two loaders for a 400 x 300 screen: `full` as Wine has it, decoding every picture at its
// full size, and `reducing`, whose frames can also decode themselves at 1/2, 1/4 and 1/8.
class ReducedLoad : public ::testing::Test {
  protected:
    void SetUp() override { reducing.StopWhen(stop); }
    PicturePtr Full(const Bytes& file) { return full.Decode(file.data(), file.size()); }
    PicturePtr Reducing(const Bytes& file) {
        frame = nullptr;
        return reducing.Decode(file.data(), file.size());
    }

    WicPictureLoader full{GetModuleHandleW(nullptr), 400, 300, 96.0f};
    WicPictureLoader reducing{GetModuleHandleW(nullptr), 400, 300, 96.0f,
                              [this](IWICBitmapSource* decoded) {
                                  frame = FrameWithReducedDecode::Wrap(decoded);
                                  if (prepare) prepare(*frame.Get());
                                  return ComPtr<IWICBitmapSource>(frame);
                              }};
    std::atomic<bool> stop{false};
    std::function<void(FrameWithReducedDecode&)> prepare;  // sets up each new frame
    ComPtr<FrameWithReducedDecode> frame;                  // the last one decoded
};

TEST_F(ReducedLoad, TakesTheSmallestCoveringReductionAndKeepsTheFullDecodesUprightPicture) {
    struct Case {
        const char* name;
        int uprightW, uprightH, orientation;
        UINT divisor;  // the reduction the loader should ask for; 1: none
    };
    const Case cases[] = {
        {"a half", 1000, 750, 1, 2},
        {"a quarter, of odd sizes", 1701, 1277, 1, 4},
        {"an eighth", 3300, 2475, 1, 8},
        {"a quarter, turned a right angle", 1700, 1275, 6, 4},
        {"a half, upside down", 1000, 750, 3, 2},
        {"none: a half would not cover the screen", 780, 585, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = TurnedJpeg(c.uprightW, c.uprightH, c.orientation);
        ASSERT_FALSE(file.empty());
        const PicturePtr expected = Full(file), reduced = Reducing(file);
        ASSERT_TRUE(expected && reduced && frame);

        const bool turned = c.orientation >= 5;
        const UINT storedW = turned ? c.uprightH : c.uprightW;
        const UINT storedH = turned ? c.uprightW : c.uprightH;
        const std::vector<std::pair<UINT, UINT>> asked =
            c.divisor == 1 ? std::vector<std::pair<UINT, UINT>>{}
                           : std::vector{std::pair{(storedW + c.divisor - 1) / c.divisor,
                                                   (storedH + c.divisor - 1) / c.divisor}};
        EXPECT_EQ(frame->reducedSizes, asked);
        EXPECT_EQ(frame->fullRows, c.divisor == 1 ? storedH : 0) << "rows of the full size";

        EXPECT_EQ(reduced->Width(), c.uprightW);
        EXPECT_EQ(reduced->Height(), c.uprightH);
        EXPECT_TRUE(Matches(reduced, expected, kTolerance));
        const PixelBuffer& kept = *Kept(reduced);
        for (int q = 0; q < 4; ++q) {
            const int x = kept.width * (q % 2 ? 3 : 1) / 4, y = kept.height * (q / 2 ? 3 : 1) / 4;
            EXPECT_LE(ColorDistance(ColorAt(kept, x, y), kQuadrants[q]), 40) << "quadrant " << q;
        }
    }
}

TEST_F(ReducedLoad, AReducedDecodeThatFailsFallsBackToTheFullOne) {
    const Bytes file = TurnedJpeg(1700, 1275, 6);  // a quarter of 1275 x 1700, turned
    const PicturePtr expected = Full(file);
    ASSERT_TRUE(expected);
    for (int failingStrip : {0, 3}) {
        SCOPED_TRACE("fails at strip " + std::to_string(failingStrip));
        prepare = [&](FrameWithReducedDecode& f) {
            f.beforeStrip = [&](int strip) {
                return strip == failingStrip ? WINCODEC_ERR_BADIMAGE : S_OK;
            };
        };
        const PicturePtr picture = Reducing(file);
        ASSERT_TRUE(picture && frame);
        EXPECT_EQ(frame->reducedSizes.size(), 1u);
        EXPECT_EQ(frame->fullRows, 1700u) << "the full decode";
        EXPECT_TRUE(Matches(picture, expected, 0));
        EXPECT_TRUE(Kept(picture)->pixels == Kept(expected)->pixels) << "not the full decode's";
    }
}

TEST_F(ReducedLoad, StoppingEndsAReducedDecodeWithoutTheFullOne) {
    const TempFolder folder(L"glimra-reduced-load");
    const std::wstring path = folder.Path() + L"large.jpg";
    ASSERT_TRUE(WriteBytes(path, TurnedJpeg(1700, 1275, 1)));  // a quarter, read in 20 strips
    struct Case {
        const char* name;
        int stopAtStrip;      // -1: as the frame is decoded, before the reduced decode
        bool decoderGivesUp;  // as one reading the stopped file does; else it holds the file
    };
    const Case cases[] = {
        {"stopped before, decoder gives up", -1, true},
        {"stopped before, decoder decodes on", -1, false},
        {"stopped during, decoder gives up", 5, true},
        {"stopped during, decoder decodes on", 5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        stop = false;
        prepare = [&](FrameWithReducedDecode& f) {
            if (c.stopAtStrip < 0) stop = true;
            f.beforeStrip = [&](int strip) {
                if (strip == c.stopAtStrip) stop = true;
                return stop && c.decoderGivesUp ? E_ABORT : S_OK;
            };
        };
        frame = nullptr;
        EXPECT_EQ(reducing.Load(path), nullptr);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->reducedSizes.size(), 1u);
        EXPECT_EQ(frame->fullRows, 0u) << "went on to the full decode";
    }
    stop = false;
    prepare = nullptr;
    EXPECT_TRUE(reducing.Load(path)) << "the next load, not stopped";
}

}  // namespace
}  // namespace glimra::win32
