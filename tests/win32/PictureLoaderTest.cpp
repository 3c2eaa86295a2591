#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "corpus/HostileFiles.h"
#include "imaging/PictureFit.h"
#include "win32/pictures/Canvas.h"
#include "win32/pictures/Pictures.h"
#include "win32/TempFolder.h"
#include "win32/TestPictures.h"
#include "win32/pictures/WicPictureLoader.h"

namespace glimra::win32 {
namespace {

using namespace glimra::win32::testing;  // the picture writers and TempFolder

// JPEG changes colours a little; these stay far apart from each other.
constexpr int kJpegTolerance = 40;

// The colours at the centres of the four quadrants.
Colors QuadrantCentres(const PixelBuffer& p) {
    const int left = p.width / 4, right = p.width * 3 / 4;
    const int top = p.height / 4, bottom = p.height * 3 / 4;
    return {ColorAt(p, left, top), ColorAt(p, right, top), ColorAt(p, left, bottom),
            ColorAt(p, right, bottom)};
}

::testing::AssertionResult ColorsNear(const Colors& actual, const Colors& expected, int tolerance) {
    for (size_t i = 0; i < actual.size(); ++i) {
        if (ColorDistance(actual[i], expected[i]) > tolerance) {
            char text[160];
            std::snprintf(text, sizeof(text), "quadrant %zu is %06X, expected %06X (+-%d)", i,
                          actual[i], expected[i], tolerance);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

// The number of pixels that differ from `color`.
size_t CountOther(const PixelBuffer& p, std::uint32_t color) {
    return static_cast<size_t>(std::count_if(
        p.pixels.begin(), p.pixels.end(), [&](auto pixel) { return (pixel & 0xFFFFFF) != color; }));
}

std::shared_ptr<const RasterPicture> AsRaster(const PicturePtr& picture) {
    return std::dynamic_pointer_cast<const RasterPicture>(picture);
}

// What a picture draws into a black width x height canvas.
PixelBuffer Render(const PicturePtr& picture, int width, int height) {
    if (!picture) return {};
    return Drawn(width, height, [&](Canvas& canvas) {
        static_cast<const Win32Picture&>(*picture).Draw(canvas, RECT{0, 0, width, height});
    });
}

// An old metafile (from its 18-byte header) played by GDI itself, its window of width x height
// units on a black canvas of as many pixels.
PixelBuffer Played(const Bytes& wmf, int width, int height) {
    return Drawn(width, height, [&](Canvas& canvas) {
        HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(wmf.size()), wmf.data());
        SetMapMode(canvas.Dc(), MM_ANISOTROPIC);
        SetWindowExtEx(canvas.Dc(), width, height, nullptr);
        SetViewportExtEx(canvas.Dc(), width, height, nullptr);
        PlayMetaFile(canvas.Dc(), metafile);
        DeleteMetaFile(metafile);
    });
}

// A loader for a 1920 x 1080 screen at 96 dpi, as the slide show makes it.
class PictureLoaderTest : public ::testing::Test {
  protected:
    PicturePtr Decode(const Bytes& bytes) { return loader.Decode(bytes.data(), bytes.size()); }

    WicPictureLoader loader{GetModuleHandleW(nullptr), 1920, 1080, 96.0f};
};

// ---------------------------------------------------------------------------------------------
// The six formats

using PictureFormats = PictureLoaderTest;

TEST_F(PictureFormats, JpegLoadsAtItsSizeWithItsColours) {
    const Bytes file = EncodeJpeg(Quadrants(320, 240));
    ASSERT_FALSE(file.empty());
    const auto picture = AsRaster(Decode(file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 320);
    EXPECT_EQ(picture->Height(), 240);
    ASSERT_EQ(picture->Pixels().width, 320);
    ASSERT_EQ(picture->Pixels().height, 240);
    EXPECT_TRUE(ColorsNear(QuadrantCentres(picture->Pixels()), kQuadrants, kJpegTolerance));
}

TEST_F(PictureFormats, BmpKeepsEveryPixelExactly) {
    const PixelBuffer written = Quadrants(301, 203);  // odd sizes: padded rows
    const Bytes file = EncodeBmp(written);
    ASSERT_FALSE(file.empty());
    const auto picture = AsRaster(Decode(file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 301);
    EXPECT_EQ(picture->Height(), 203);
    EXPECT_EQ(picture->Pixels().width, 301);
    EXPECT_EQ(picture->Pixels().height, 203);
    EXPECT_TRUE(picture->Pixels().pixels == written.pixels) << "colours or orientation differ";
}

TEST_F(PictureFormats, GifShowsItsFirstFrameExactly) {
    const PixelBuffer first = Quadrants(120, 80);
    const Bytes file = EncodeGif({first, Solid(120, 80, 0x808080), Solid(120, 80, 0x00FFFF)});
    ASSERT_FALSE(file.empty());
    const auto picture = AsRaster(Decode(file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 120);
    EXPECT_EQ(picture->Height(), 80);
    EXPECT_TRUE(picture->Pixels().pixels == first.pixels) << "not the first frame as written";
}

TEST_F(PictureFormats, IconShowsItsLargestImageWhereverItIsListed) {
    // The largest is neither first nor last, so neither shortcut finds it.
    const Bytes file =
        MakeIcon({{32, kRed}, {16, kGreen}, {64, kBlue}, {48, kYellow}, {24, 0x00FFFF}});
    const auto picture = AsRaster(Decode(file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 64);
    EXPECT_EQ(picture->Height(), 64);
    ASSERT_EQ(picture->Pixels().width, 64);
    ASSERT_EQ(picture->Pixels().height, 64);
    EXPECT_EQ(CountOther(picture->Pixels(), kBlue), 0u);

    const auto first = AsRaster(Decode(MakeIcon({{48, kYellow}, {16, kGreen}, {32, kRed}})));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Width(), 48);
    EXPECT_EQ(CountOther(first->Pixels(), kYellow), 0u) << "the largest listed first";
}

TEST_F(PictureFormats, PlaceableWmfIsMeasuredFromItsBoundingBox) {
    // 6 x 4 inches at 96 dpi, whatever the units.
    for (int unitsPerInch : {1440, 1000, 576}) {
        SCOPED_TRACE(unitsPerInch);
        const PicturePtr picture =
            Decode(MakeWmf(6 * unitsPerInch, 4 * unitsPerInch, true, unitsPerInch));
        ASSERT_TRUE(std::dynamic_pointer_cast<const MetafilePicture>(picture));
        EXPECT_EQ(picture->Width(), 576);
        EXPECT_EQ(picture->Height(), 384);
        EXPECT_TRUE(ColorsNear(QuadrantCentres(Render(picture, 576, 384)), kQuadrants, 0));
    }
}

TEST_F(PictureFormats, PlainWmfIsMeasuredFromItsWindowExtentInTwips) {
    const PicturePtr picture = Decode(MakeWmf(2880, 1440, false));  // 2 x 1 inches
    ASSERT_TRUE(std::dynamic_pointer_cast<const MetafilePicture>(picture));
    EXPECT_EQ(picture->Width(), 192);
    EXPECT_EQ(picture->Height(), 96);
    EXPECT_TRUE(ColorsNear(QuadrantCentres(Render(picture, 192, 96)), kQuadrants, 0));
}

TEST_F(PictureFormats, EmfIsMeasuredFromItsFrame) {
    const PicturePtr picture = Decode(MakeEmf(RECT{0, 0, 10160, 5080}));  // 4 x 2 inches
    ASSERT_TRUE(std::dynamic_pointer_cast<const MetafilePicture>(picture));
    EXPECT_EQ(picture->Width(), 384);
    EXPECT_EQ(picture->Height(), 192);
    EXPECT_TRUE(ColorsNear(QuadrantCentres(Render(picture, 384, 192)), kQuadrants, 0));
}

TEST_F(PictureFormats, MetafilesAreMeasuredAtTheScreensResolution) {
    WicPictureLoader sharper(GetModuleHandleW(nullptr), 1920, 1080, 144.0f);
    const Bytes wmf = MakeWmf(6 * 1440, 4 * 1440, true);
    const PicturePtr fromWmf = sharper.Decode(wmf.data(), wmf.size());
    ASSERT_TRUE(fromWmf);
    EXPECT_EQ(fromWmf->Width(), 864);
    EXPECT_EQ(fromWmf->Height(), 576);
    const Bytes emf = MakeEmf(RECT{0, 0, 10160, 5080});
    const PicturePtr fromEmf = sharper.Decode(emf.data(), emf.size());
    ASSERT_TRUE(fromEmf);
    EXPECT_EQ(fromEmf->Width(), 576);
    EXPECT_EQ(fromEmf->Height(), 288);
}

TEST_F(PictureFormats, OldMetafilesOtherProgramsWriteAreDrawnAsGdiDrawsTheirSoundRecords) {
    using corpus::WmfRecord;
    const Bytes placeable = MakeWmf(96, 96, true, 96);  // 96 x 96 pixels, one unit each
    ASSERT_FALSE(placeable.empty());
    const Bytes wmf(placeable.begin() + 22, placeable.end());
    const auto first = [&](const Bytes& record) { return corpus::WithRecord(wmf, 18, record); };
    const auto last = [&](const Bytes& record) {
        return corpus::WithRecord(wmf, wmf.size() - 6, record);
    };
    Bytes magenta;  // the rows of a 16 x 16 bitmap of 32 bits a pixel
    for (int i = 0; i < 16 * 16; ++i)
        magenta.insert(magenta.end(), {0xFF, 0, 0xFF, 0});
    Bytes countsPlaceable = wmf;
    const std::uint32_t words = static_cast<std::uint32_t>(wmf.size() / 2 + 11);
    std::memcpy(&countsPlaceable[6], &words, 4);
    const Bytes bitBlt =
        last(WmfRecord(0x0922, {0xCC, 0, 0, 16, 16, 40, 40, 16, 16, 64, 1, 32}, magenta));
    const Bytes stretchBlt = last(
        WmfRecord(0x0B23, {0x20, 0xCC, 16, 16, 0, 0, 32, 32, 40, 40, 16, 16, 64, 1, 32}, magenta));
    // The 7-word region is made an empty object, deleted before the quadrants' brushes come.
    const Bytes region =
        corpus::WithRecord(first(WmfRecord(0x01F0, {0})), 18, WmfRecord(0x06FF, {0, 0, 0, 0}));
    const struct {
        const char* name;
        Bytes file, sound;
        std::uint32_t middle;  // the colour at the picture's middle
    } cases[] = {
        {"length counting the placeable header", countsPlaceable, wmf, kYellow},
        {"old bit-block", bitBlt, bitBlt, 0xFF00FF},
        {"old stretched bit-block", stretchBlt, stretchBlt, 0xFF00FF},
        {"old bit-block without a bitmap",
         last(WmfRecord(0x0922, {0x62, 0xFF, 0, 0, 0, 16, 16, 40, 40})),
         last(WmfRecord(0x061D, {0x62, 0xFF, 16, 16, 40, 40})), 0xFFFFFF},
        {"region of 7 words", region, wmf, kYellow},
        {"escape whose count runs past it", first(WmfRecord(0x0626, {15, 100, 1, 2})), wmf,
         kYellow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file(placeable.begin(), placeable.begin() + 22);
        file.insert(file.end(), c.file.begin(), c.file.end());
        const PixelBuffer sound = Played(c.sound, 96, 96);
        EXPECT_TRUE(Render(Decode(file), 96, 96).pixels == sound.pixels);
        EXPECT_EQ(ColorAt(sound, 48, 48), c.middle);
    }
}

// ---------------------------------------------------------------------------------------------
// Raster pictures are kept at no more than the size the screen shows them at

using PictureFitting = PictureLoaderTest;

TEST_F(PictureFitting, LargerPicturesAreKeptAtTheFittedSizeWithProportions) {
    struct Case {
        const char* name;
        Bytes file;
        int keptW, keptH;
        int tolerance;
    };
    const Case cases[] = {
        {"wide JPEG", EncodeJpeg(Quadrants(3000, 2000)), 1620, 1080, kJpegTolerance},
        {"wide BMP", EncodeBmp(Quadrants(3000, 2000)), 1620, 1080, 0},
        {"tall BMP", EncodeBmp(Quadrants(1000, 3000)), 360, 1080, 0},
        {"wider than the screen only", EncodeGif({Quadrants(2400, 600)}), 1920, 480, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.file.empty());
        const auto picture = AsRaster(Decode(c.file));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Pixels().width, c.keptW);
        EXPECT_EQ(picture->Pixels().height, c.keptH);
        EXPECT_EQ(picture->Pixels().pixels.size(), static_cast<size_t>(c.keptW) * c.keptH);
        EXPECT_TRUE(ColorsNear(QuadrantCentres(picture->Pixels()), kQuadrants, c.tolerance));
    }
}

TEST_F(PictureFitting, TheKeptSizeFollowsWhereTheShowIsWhenItMoves) {
    // The same file, loaded again after the show's window moved to another display or
    // resolution, is kept at the new rectangle, not handed back as it was.
    TempFolder folder{L"glimra-show-target"};
    const std::wstring path = folder.Path() + L"wide.bmp";
    ASSERT_TRUE(WriteBytes(path, EncodeBmp(Quadrants(3000, 2000))));
    const auto target = std::make_shared<ShowTarget>(ShowTarget::Size{1920, 1080, 96});
    WicPictureLoader loader(GetModuleHandleW(nullptr), target);
    const struct {
        ShowTarget::Size at;
        int keptW, keptH;
    } moves[] = {{{1920, 1080, 96}, 1620, 1080},
                 {{1024, 768, 96}, 1024, 683},
                 {{1024, 768, 144}, 1024, 683},
                 {{800, 600, 96}, 800, 533}};
    for (const auto& move : moves) {
        SCOPED_TRACE(::testing::Message() << move.at.width << "x" << move.at.height);
        target->Set(move.at);
        const auto picture = AsRaster(loader.Load(path));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Pixels().width, move.keptW);
        EXPECT_EQ(picture->Pixels().height, move.keptH);
    }
}

TEST_F(PictureFitting, KeptSizeIsTheRectangleTheWindowDrawsInto) {
    // 1500 x 1000 on 1024 x 768 is 682.67 pixels high: kept and drawn 683, so drawing copies.
    const Bytes file = EncodeBmp(Quadrants(1500, 1000));
    for (float dpi : {96.0f, 144.0f}) {
        SCOPED_TRACE(dpi);
        WicPictureLoader small(GetModuleHandleW(nullptr), 1024, 768, dpi);
        const auto picture = AsRaster(small.Decode(file.data(), file.size()));
        ASSERT_TRUE(picture);
        const PixelRect shown = ShownRect(1500, 1000, 1024, 768, 1440 / dpi, 1440 / dpi);
        ASSERT_EQ(picture->Pixels().width, shown.Width());
        ASSERT_EQ(picture->Pixels().height, shown.Height());
        EXPECT_EQ(shown.Height(), 683);
        const PixelBuffer drawn = Render(picture, shown.Width(), shown.Height());
        EXPECT_TRUE(drawn.pixels == picture->Pixels().pixels) << "drawn other than kept";
    }
}

TEST_F(PictureFitting, NaturalSizeIsTheFilesWhateverIsKept) {
    const auto picture = AsRaster(Decode(EncodeJpeg(Quadrants(3000, 2000))));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 3000);
    EXPECT_EQ(picture->Height(), 2000);
}

TEST_F(PictureFitting, PicturesThatFitAreKeptAtTheirOwnSize) {
    for (auto [w, h] : {std::pair{1920, 1080}, std::pair{1919, 1079}, std::pair{1, 1}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        const auto picture = AsRaster(Decode(EncodeBmp(Solid(w, h, kGreen))));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Pixels().width, w);
        EXPECT_EQ(picture->Pixels().height, h);
        EXPECT_EQ(CountOther(picture->Pixels(), kGreen), 0u);
    }
}

// ---------------------------------------------------------------------------------------------
// EXIF orientation

using PictureOrientation = PictureLoaderTest;

TEST_F(PictureOrientation, EveryOrientationComesOutUpright) {
    const PixelBuffer upright = Quadrants(96, 64);  // halves on whole 16-pixel blocks
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        const PixelBuffer stored = StoredForOrientation(upright, orientation);
        const Bytes file = WithExifOrientation(EncodeJpeg(stored), orientation);
        ASSERT_FALSE(file.empty());
        const auto picture = AsRaster(Decode(file));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Width(), 96);
        EXPECT_EQ(picture->Height(), 64);
        ASSERT_EQ(picture->Pixels().width, 96);
        ASSERT_EQ(picture->Pixels().height, 64);
        EXPECT_TRUE(ColorsNear(QuadrantCentres(picture->Pixels()), kQuadrants, kJpegTolerance));
    }
}

TEST_F(PictureOrientation, TurnedPicturesLargerThanTheScreenAreFittedUpright) {
    const PixelBuffer upright = Quadrants(3000, 2000);
    for (int orientation : {5, 6, 7, 8}) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        const Bytes file = WithExifOrientation(
            EncodeJpeg(StoredForOrientation(upright, orientation)), orientation);
        const auto picture = AsRaster(Decode(file));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Width(), 3000);
        EXPECT_EQ(picture->Height(), 2000);
        ASSERT_EQ(picture->Pixels().width, 1620);
        ASSERT_EQ(picture->Pixels().height, 1080);
        EXPECT_TRUE(ColorsNear(QuadrantCentres(picture->Pixels()), kQuadrants, kJpegTolerance));
    }
}

// ---------------------------------------------------------------------------------------------
// Files that are not pictures give nothing, and leave the loader working

class PictureFailures : public PictureLoaderTest {
  protected:
    void TearDown() override {
        const Bytes good = EncodeBmp(Solid(40, 30, kBlue));
        const std::wstring path = folder.Path() + L"good.bmp";
        ASSERT_TRUE(WriteBytes(path, good));
        const PicturePtr picture = loader.Load(path);
        ASSERT_TRUE(picture) << "a good file after the failures";
        EXPECT_EQ(picture->Width(), 40);
    }

    TempFolder folder{L"glimra-loader-failures"};
};

TEST_F(PictureFailures, MissingEmptyAndFolderPathsGiveNothing) {
    EXPECT_EQ(loader.Load(folder.Path() + L"missing.jpg"), nullptr);
    EXPECT_EQ(loader.Load(folder.Path() + L"no folder\\missing.jpg"), nullptr);
    EXPECT_EQ(loader.Load(L""), nullptr);
    const std::wstring empty = folder.Path() + L"empty.jpg";
    ASSERT_TRUE(WriteBytes(empty, {}));
    EXPECT_EQ(loader.Load(empty), nullptr);
    EXPECT_EQ(loader.Load(folder.AddFolder(L"folder.jpg")), nullptr);
    EXPECT_EQ(loader.Load(folder.Path() + L"folder.jpg"), nullptr) << "without the backslash";
    EXPECT_EQ(loader.Decode(nullptr, 0), nullptr);
}

TEST_F(PictureFailures, AFileOpenedExclusivelyElsewhereGivesNothing) {
    const std::wstring path = folder.Path() + L"locked.jpg";
    ASSERT_TRUE(WriteBytes(path, EncodeJpeg(Solid(32, 32, kRed))));
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(loader.Load(path), nullptr);
    CloseHandle(lock);
    EXPECT_TRUE(loader.Load(path)) << "once the other handle is closed";
}

TEST_F(PictureFailures, TruncatedFilesGiveNothing) {
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"JPEG", EncodeJpeg(Quadrants(160, 120))},
        {"BMP", EncodeBmp(Quadrants(160, 120))},
        {"GIF", EncodeGif({Quadrants(160, 120), Solid(160, 120, kRed)})},
        {"ICO", MakeIcon({{16, kRed}, {48, kBlue}})},
        {"placeable WMF", MakeWmf(1440, 1440, true)},
        {"plain WMF", MakeWmf(1440, 1440, false)},
        {"EMF", MakeEmf(RECT{0, 0, 2540, 2540})},
    };
    for (const Case& c : cases) {
        ASSERT_GT(c.file.size(), 40u) << c.name;
        ASSERT_TRUE(Decode(c.file)) << c.name << " whole";
        // Half rounded down to even: metafiles are made of 16-bit words.
        const size_t half = c.file.size() / 2 & ~size_t{1};
        for (size_t length : {size_t{1}, size_t{2}, size_t{10}, size_t{40}, half}) {
            const Bytes cut(c.file.begin(), c.file.begin() + static_cast<long>(length));
            EXPECT_FALSE(Decode(cut)) << c.name << " cut to " << length << " bytes";
        }
    }
}

TEST_F(PictureFailures, WhatIsNotOneOfTheSixFormatsGivesNothing) {
    std::mt19937 random(7);
    Bytes noise(5000);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    EXPECT_EQ(Decode(noise), nullptr) << "random bytes";

    const std::string text = "This is not a picture, only text named as one.\r\n";
    const std::wstring named = folder.AddFile(L"text.jpg", text);
    EXPECT_EQ(loader.Load(named), nullptr) << "text named .jpg";

    const Bytes png = EncodePng(Quadrants(64, 48));
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(Decode(png), nullptr) << "PNG";
    const std::wstring pngAsJpg = folder.Path() + L"png.jpg";
    ASSERT_TRUE(WriteBytes(pngAsJpg, png));
    EXPECT_EQ(loader.Load(pngAsJpg), nullptr) << "PNG named .jpg";
}

TEST_F(PictureFailures, DamagedFilesGiveNothingOrASanePicture) {
    // Bytes changed inside files whose headers still say what they are.
    const Bytes files[] = {
        EncodeJpeg(Quadrants(160, 120)),
        EncodeBmp(Quadrants(160, 120)),
        EncodeGif({Quadrants(160, 120), Solid(160, 120, kRed)}),
        MakeIcon({{16, kRed}, {48, kBlue}}),
        MakeWmf(1440, 1440, true),
        MakeWmf(1440, 1440, false),
        MakeEmf(RECT{0, 0, 2540, 2540}),
    };
    std::mt19937 random(2024);
    for (const Bytes& file : files) {
        for (int round = 0; round < 30; ++round) {
            Bytes damaged = file;
            for (int i = 0; i < 8; ++i) {
                const size_t at = 6 + random() % (damaged.size() - 6);
                damaged[at] = static_cast<std::uint8_t>(random());
            }
            const PicturePtr picture = Decode(damaged);
            if (!picture) continue;
            EXPECT_TRUE(picture->Width() >= 1 && picture->Width() <= 32767 &&
                        picture->Height() >= 1 && picture->Height() <= 32767)
                << picture->Width() << "x" << picture->Height();
            if (const auto raster = AsRaster(picture)) {
                const PixelBuffer& kept = raster->Pixels();
                EXPECT_TRUE(kept.width >= 1 && kept.width <= 1920 && kept.height >= 1 &&
                            kept.height <= 1080 &&
                            kept.pixels.size() == static_cast<size_t>(kept.width) * kept.height)
                    << kept.width << "x" << kept.height;
            }
        }
    }
}

TEST_F(PictureFailures, TheHostileCorpusIsRefusedOrDrawnAndItsSoundFilesLoad) {
    // Each damaged file alone, with the loaded picture of a sound one before it: a refusal
    // gives nothing and leaves the loader as it was. A metafile whose damaged record is only
    // wrong about itself is drawn without it.
    std::vector<corpus::NamedFile> hostile = corpus::HostileRasters();
    for (corpus::NamedFile& file : corpus::HostileMetafiles())
        hostile.push_back(std::move(file));
    for (const corpus::NamedFile& file : corpus::SoundFiles()) {
        const std::wstring path = folder.Path() + std::wstring(file.name.begin(), file.name.end());
        ASSERT_TRUE(WriteBytes(path, file.bytes));
        EXPECT_TRUE(loader.Load(path)) << file.name;
    }
    for (const corpus::NamedFile& file : hostile) {
        const std::wstring path = folder.Path() + std::wstring(file.name.begin(), file.name.end());
        ASSERT_TRUE(WriteBytes(path, file.bytes));
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(loader.Load(path) != nullptr, file.drawn) << file.name;
        EXPECT_LT(GetTickCount64() - start, 250u) << file.name << " was not dealt with at once";
    }
}

// ---------------------------------------------------------------------------------------------
// Paths

class PicturePaths : public PictureLoaderTest {
  protected:
    TempFolder folder{L"glimra-loader-paths"};
};

TEST_F(PicturePaths, EachFormatLoadsFromItsFile) {
    struct Case {
        const wchar_t* name;
        Bytes file;
        int width, height;
    };
    const Case cases[] = {
        {L"a.jpg", EncodeJpeg(Solid(40, 30, kRed)), 40, 30},
        {L"b.jpeg", EncodeJpeg(Solid(30, 40, kRed)), 30, 40},
        {L"c.bmp", EncodeBmp(Solid(41, 31, kRed)), 41, 31},
        {L"d.gif", EncodeGif({Solid(42, 32, kRed)}), 42, 32},
        {L"e.ico", MakeIcon({{16, kRed}, {32, kBlue}}), 32, 32},
        {L"f.wmf", MakeWmf(1440, 720, true), 96, 48},
        {L"g.wmf", MakeWmf(720, 1440, false), 48, 96},
        {L"h.emf", MakeEmf(RECT{0, 0, 5080, 2540}), 192, 96},
    };
    for (const Case& c : cases) {
        const std::wstring path = folder.Path() + c.name;
        ASSERT_TRUE(WriteBytes(path, c.file));
        const PicturePtr picture = loader.Load(path);
        ASSERT_TRUE(picture) << "file " << &c - cases;
        EXPECT_EQ(picture->Width(), c.width) << "file " << &c - cases;
        EXPECT_EQ(picture->Height(), c.height) << "file " << &c - cases;
    }
}

TEST_F(PicturePaths, AnUnchangedFileIsNotDecodedAgainButAChangedOneIs) {
    const std::wstring path = folder.Path() + L"same.bmp";
    ASSERT_TRUE(WriteBytes(path, EncodeBmp(Solid(20, 10, kRed))));
    const PicturePtr first = loader.Load(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(loader.Load(path), first) << "the same file, unchanged";

    // Same size, other colour: a changed file must be read afresh.
    ASSERT_TRUE(WriteBytes(path, EncodeBmp(Solid(20, 10, kBlue))));
    const PicturePtr second = loader.Load(path);
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(ColorAt(AsRaster(second)->Pixels(), 5, 5), kBlue);

    ASSERT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_FALSE(loader.Load(path)) << "a deleted file fails even when it was loaded last";
}

TEST_F(PicturePaths, UnicodeNamesLoad) {
    const Bytes file = EncodeBmp(Solid(20, 10, kYellow));
    for (const wchar_t* name :
         {L"Bilder – Ünïcødé.bmp", L"日本語の写真.bmp", L"\U0001F600 smile.bmp", L"a&b (1).bmp"}) {
        const std::wstring path = folder.Path() + name;
        ASSERT_TRUE(WriteBytes(path, file));
        const PicturePtr picture = loader.Load(path);
        ASSERT_TRUE(picture) << "could not load a file with a non-ASCII name";
        EXPECT_EQ(picture->Width(), 20);
    }
}

TEST_F(PicturePaths, PathsLongerThanTheClassicLimitLoad) {
    std::wstring path = folder.Path();
    const std::wstring part(60, L'd');
    while (path.size() < 300) {
        path += part + L"\\";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr));
    }
    for (const wchar_t* name : {L"picture.bmp", L"picture.emf"}) {
        const std::wstring full = path + name;
        ASSERT_GT(full.size(), static_cast<size_t>(MAX_PATH));
        const bool bitmap = std::wstring(name).ends_with(L".bmp");
        ASSERT_TRUE(WriteBytes(
            full, bitmap ? EncodeBmp(Solid(20, 10, kRed)) : MakeEmf(RECT{0, 0, 2540, 1270})));
        const PicturePtr picture = loader.Load(full);
        ASSERT_TRUE(picture) << "could not load a path of " << full.size() << " characters";
        EXPECT_EQ(picture->Width(), bitmap ? 20 : 96);
    }
}

}  // namespace
}  // namespace glimra::win32
