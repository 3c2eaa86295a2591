#include "win32/pictures/WicPictureLoader.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <optional>
#include <utility>

#include "imaging/ColourProfile.h"
#include "imaging/DecodeScale.h"
#include "imaging/ExifOrientation.h"
#include "imaging/HeaderChecks.h"
#include "imaging/PictureFit.h"
#include "imaging/TwoBandScaler.h"
#include "win32/base/Scoped.h"
#include "win32/base/SystemLibrary.h"
#include "win32/pictures/Canvas.h"
#include "win32/pictures/CmykThroughProfile.h"
#include "win32/pictures/FileContents.h"
#include "win32/pictures/Metafiles.h"
#include "win32/pictures/OverlappedStrips.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/ReducedDecode.h"
#include "win32/pictures/StoppableStream.h"
#include "win32/resources/resource.h"

using Microsoft::WRL::ComPtr;

namespace glimra::win32 {
namespace {

constexpr int kRowsPerStrip = 64;

// The frame to show: the first one, except for icons, where it is the largest image.
ComPtr<IWICBitmapFrameDecode> ChooseFrame(IWICBitmapDecoder* decoder, bool largest) {
    ComPtr<IWICBitmapFrameDecode> chosen;
    UINT count = 0;
    if (FAILED(decoder->GetFrameCount(&count)) || count == 0) return nullptr;
    UINT64 bestArea = 0;
    for (UINT i = 0; i < (largest ? count : 1u); ++i) {
        ComPtr<IWICBitmapFrameDecode> frame;
        UINT w = 0, h = 0;
        if (FAILED(decoder->GetFrame(i, &frame)) || FAILED(frame->GetSize(&w, &h))) continue;
        if (!chosen || UINT64{w} * h > bestArea) {
            chosen = frame;
            bestArea = UINT64{w} * h;
        }
    }
    return chosen;
}

// Decodes in strips straight into the area-averaging scaler, so the full-size picture is
// never held here in 32-bit pixels.
bool DecodeStreamed(IWICBitmapSource* source, int targetWidth, int targetHeight, PixelBuffer& out,
                    std::uint32_t* into, bool overlapped, const std::atomic<bool>* stop,
                    const LightCurve& light) {
    UINT w = 0, h = 0;
    if (FAILED(source->GetSize(&w, &h)) || w == 0 || h == 0) return false;
    const int width = static_cast<int>(w), height = static_cast<int>(h);
    // Photos decode to blue, green and red bytes, which the scaler reads as they are; a
    // conversion to four bytes first costs a whole pass over the picture (under Wine a slow
    // one, about as long as the reduction itself).
    WICPixelFormatGUID format{};
    const bool threeBytes =
        SUCCEEDED(source->GetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR;
    static const auto convert = SystemFunction<decltype(WICConvertBitmapSource)>(
        L"windowscodecs.dll", "WICConvertBitmapSource");
    ComPtr<IWICBitmapSource> converted = source;
    if (!threeBytes &&
        (!convert || FAILED(convert(GUID_WICPixelFormat32bppPBGRA, source, &converted)))) {
        return false;
    }
    const int bytesPerPixel = threeBytes ? 3 : 4;
    TwoBandScaler scaler(width, height, targetWidth, targetHeight, into, &light, bytesPerPixel);
    const UINT stride = static_cast<UINT>(width) * bytesPerPixel;
    if (overlapped) {
        const bool read = ReadStripsOverlapped(
            converted.Get(), width, height, bytesPerPixel, kRowsPerStrip,
            [&](const std::uint8_t* rows, int count, size_t rowStride) {
                scaler.PushRows(rows, count, rowStride);
            },
            stop);
        out = scaler.Finish();
        return read;
    }
    std::vector<std::uint8_t> strip(static_cast<size_t>(stride) * kRowsPerStrip);
    for (int y = 0; y < height; y += kRowsPerStrip) {
        // A program that is ending does not wait for the rest of a large picture.
        if (stop && stop->load()) return false;
        const int rows = std::min(kRowsPerStrip, height - y);
        const WICRect rect{0, y, width, rows};
        if (FAILED(converted->CopyPixels(&rect, stride, stride * static_cast<UINT>(rows),
                                         strip.data()))) {
            return false;
        }
        scaler.PushRows(strip.data(), rows, stride);
    }
    out = scaler.Finish();
    return true;
}

// What a picture says its colours are: the profile it embeds (or names through EXIF), and
// that profile as a description of the frame's pixels, where it can serve as one. CMYK
// pictures without a profile keep the platform's own conversion.
struct PictureColours {
    std::vector<std::uint8_t> profile;
    std::optional<InputProfile> input;
};

PictureColours ColoursOf(RasterKind kind, const std::uint8_t* data, size_t size,
                         IWICBitmapSource* frame) {
    PictureColours colours;
    if (kind == RasterKind::Jpeg) {
        colours.profile = JpegEmbeddedProfile(data, size);
        if (colours.profile.empty() && JpegExifSaysAdobeRgb(data, size)) {
            colours.profile = AdobeRgbProfile();
        }
    } else if (kind == RasterKind::Bmp) {
        colours.profile = BmpEmbeddedProfile(data, size);
    }
    WICPixelFormatGUID format{};
    if (colours.profile.empty() || FAILED(frame->GetPixelFormat(&format))) return {};
    const bool grey = IsEqualGUID(format, GUID_WICPixelFormat8bppGray) ||
                      IsEqualGUID(format, GUID_WICPixelFormat16bppGray);
    const bool cmyk = IsEqualGUID(format, GUID_WICPixelFormat32bppCMYK);
    colours.input = CheckInputProfile(colours.profile, cmyk   ? ProfileSpace::Cmyk
                                                       : grey ? ProfileSpace::Grey
                                                              : ProfileSpace::Rgb);
    return colours;
}

// Where the window draws a picture of width x height pixels, its twips made as the window
// makes them: the rectangle the picture is kept at.
PixelRect ShownAt(const ShowTarget::Size& at, int width, int height) {
    const float twipsPerPixel = 1440.0f / at.dpi;
    return ShownRect(width, height, std::max(1, at.width), std::max(1, at.height), twipsPerPixel,
                     twipsPerPixel);
}

}  // namespace

WicPictureLoader::WicPictureLoader(HINSTANCE resources, int screenWidth, int screenHeight,
                                   float dpi, FrameWrapper wrapFrame)
    : resources_(resources),
      target_(std::make_shared<const ShowTarget>(ShowTarget::Size{screenWidth, screenHeight, dpi})),
      wrapFrame_(std::move(wrapFrame)) {}

WicPictureLoader::WicPictureLoader(HINSTANCE resources, std::shared_ptr<const ShowTarget> target)
    : resources_(resources), target_(std::move(target)) {}

PicturePtr WicPictureLoader::Load(const std::wstring& path) {
    std::vector<std::uint8_t> contents;
    if (!ReadWholeFile(path, kMaxFileBytes, [&](size_t size) {
            contents.resize(size);
            return contents.data();
        })) {
        return nullptr;
    }
    const std::uint64_t digest = ContentDigest(contents.data(), contents.size());
    const ShowTarget::Size shownAt = target_->Get();
    if (PicturePtr same = last_.Again(path, contents.size(), digest, shownAt)) return same;
    PicturePtr picture = Decode(contents.data(), contents.size());
    if (picture) last_ = {path, contents.size(), digest, shownAt, picture};
    return picture;
}

PicturePtr WicPictureLoader::Decode(const std::uint8_t* data, size_t size) {
    if (!data || size == 0) return nullptr;
    if (LooksLikeMetafile(data, size)) return LoadMetafile(data, size, target_->Get().dpi);
    return DecodeRaster(data, size, nullptr);
}

PicturePtr WicPictureLoader::DecodeInto(const std::uint8_t* data, size_t size,
                                        const PixelTarget& into) {
    if (!data || size == 0 || !into.pixels) return nullptr;
    if (LooksLikeMetafile(data, size)) return PlayMetafileInto(data, size, into);
    return DecodeRaster(data, size, &into);
}

// Played at the size the window shows it, over the show's black, by GDI straight into the
// memory given.
PicturePtr WicPictureLoader::PlayMetafileInto(const std::uint8_t* data, size_t size,
                                              const PixelTarget& into) {
    const ShowTarget::Size at = target_->Get();
    const auto metafile = LoadMetafile(data, size, at.dpi);
    if (!metafile || !into.section) return nullptr;
    const PixelRect shown = ShownAt(at, metafile->Width(), metafile->Height());
    const int width = shown.Width(), height = shown.Height();
    if (width <= 0 || height <= 0 || size_t(width) * size_t(height) > into.capacity) return nullptr;
    Canvas canvas;
    if (!canvas.Resize(width, height, into.section)) return nullptr;
    const RECT all{0, 0, width, height};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    metafile->Draw(canvas, all);
    GdiFlush();
    return std::make_shared<KeptPixelsPicture>(metafile->Width(), metafile->Height(), into.pixels,
                                               width, height, nullptr);
}

PicturePtr WicPictureLoader::DecodeRaster(const std::uint8_t* data, size_t size,
                                          const PixelTarget* into) {
    // The codecs allocate for what a header claims before they read a pixel: a claim past
    // our bounds, or structures that point outside the file, never reach them.
    const RasterKind kind = CheckRasterHeaders(data, size);
    if (size > UINT_MAX || kind == RasterKind::None) return nullptr;
    // Made at the first raster picture: a start that ends at once never loads the codecs.
    if (!factory_ && FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_PPV_ARGS(&factory_)))) {
        return nullptr;
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    GUID container{};
    if (FAILED(factory_->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))) ||
        FAILED(factory_->CreateDecoderFromStream(
            stop_ ? StoppableStream(stream, *stop_).Get() : stream.Get(), nullptr,
            WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetContainerFormat(&container))) {
        return nullptr;
    }
    // Only the four raster formats of a picture folder, and only the decoder of the kind
    // whose headers were checked.
    static constexpr std::pair<RasterKind, const GUID*> kContainers[] = {
        {RasterKind::Jpeg, &GUID_ContainerFormatJpeg},
        {RasterKind::Bmp, &GUID_ContainerFormatBmp},
        {RasterKind::Gif, &GUID_ContainerFormatGif},
        {RasterKind::Icon, &GUID_ContainerFormatIco},
    };
    if (std::none_of(std::begin(kContainers), std::end(kContainers), [&](const auto& known) {
            return known.first == kind && IsEqualGUID(*known.second, container);
        })) {
        return nullptr;
    }
    const bool jpeg = kind == RasterKind::Jpeg;
    const bool icon = kind == RasterKind::Icon;
    ComPtr<IWICBitmapFrameDecode> frame = ChooseFrame(decoder.Get(), icon);
    UINT w = 0, h = 0;
    if (!frame || FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0 || w > kMaxPictureSide ||
        h > kMaxPictureSide || UINT64{w} * h > kMaxPicturePixels) {
        return nullptr;
    }
    const int width = static_cast<int>(w), height = static_cast<int>(h);
    const int orientation = jpeg ? ExifOrientation(data, size) : 1;
    const auto [uprightW, uprightH] = UprightSize(width, height, orientation);
    const ShowTarget::Size at = target_->Get();
    const PixelRect shown = ShownAt(at, uprightW, uprightH);
    int targetW = shown.Width(), targetH = shown.Height();
    if (orientation >= 5) std::swap(targetW, targetH);  // back to the file's own orientation

    // A profile that the system cannot use is no profile: the picture is shown as sRGB.
    const PictureColours colours = ColoursOf(kind, data, size, frame.Get());
    const bool managed = colours.input && colours_.Prepare(colours.profile, *colours.input,
                                                           displayProfiles_.Of(at.monitor.data()));
    // CMYK is turned into the display's colours as it is read, and reduced as those.
    const bool inks = managed && colours.input->space == ProfileSpace::Cmyk;
    const bool convertKept = managed && !inks;
    std::optional<LightCurve> ownCurve;
    if (convertKept && colours.input->toLinear) ownCurve.emplace(colours.input->toLinear);
    const LightCurve& light = ownCurve ? *ownCurve : LightCurve::Srgb();

    ComPtr<IWICBitmapSource> decoded = frame;
    if (wrapFrame_) decoded = wrapFrame_(frame.Get());
    ComPtr<IWICBitmapSource> source =
        ReducedSource(factory_.Get(), decoded.Get(), width, height, targetW, targetH);
    if (!source) source = decoded;
    if (inks && !(source = CmykThroughProfile(source.Get(), colours_))) return nullptr;
    PixelBuffer pixels;
    if (into) {
        if (size_t(targetW) * size_t(targetH) > into->capacity) return nullptr;
        // Turned upright on the way into the memory given; otherwise reduced straight into it.
        std::uint32_t* const direct = orientation == 1 ? into->pixels : nullptr;
        // This is the decoder process, whose codecs are free-threaded: the next strip is read
        // while this one is reduced.
        if (!DecodeStreamed(source.Get(), targetW, targetH, pixels, direct, true, stop_, light)) {
            return nullptr;
        }
        if (!direct) ApplyOrientation(pixels, orientation, into->pixels);
        if (convertKept) colours_.Convert(into->pixels, shown.Width(), shown.Height());
        return std::make_shared<KeptPixelsPicture>(uprightW, uprightH, into->pixels, shown.Width(),
                                                   shown.Height(), nullptr);
    }
    if (!DecodeStreamed(source.Get(), targetW, targetH, pixels, nullptr, false, stop_, light)) {
        return nullptr;
    }
    if (orientation != 1) pixels = ApplyOrientation(pixels, orientation);
    if (convertKept) colours_.Convert(pixels.pixels.data(), pixels.width, pixels.height);
    return std::make_shared<RasterPicture>(uprightW, uprightH, std::move(pixels));
}

PicturePtr WicPictureLoader::FromResource(int id) {
    HRSRC found = FindResourceW(resources_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
    HGLOBAL loaded = found ? LoadResource(resources_, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return nullptr;
    return Decode(static_cast<const std::uint8_t*>(bytes), SizeofResource(resources_, found));
}

PicturePtr WicPictureLoader::StartPicture() {
    return FromResource(IDR_START_PICTURE);
}

PicturePtr WicPictureLoader::BlankPicture() {
    return FromResource(IDR_BLANK_PICTURE);
}

}  // namespace glimra::win32
