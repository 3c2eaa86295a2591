// Times and measures one change of picture against the platform's bare decoding of the same
// file. Run under Wine by bench/run. A change goes through the decoder process as in the show
// (Glimra.scr beside this program is the decoder).
//
//   bench_picture time <file> <runs>   one change (load through the decoder, fit, draw into a
//                                      1920x1080 canvas) and the bare decode, alternately, <runs>
//                                      times each after one warm-up; prints the medians in
//                                      milliseconds, and the decoder's start
//   bench_picture peak ours|bare <file>
//                                      does one of the two once, keeps the result, and prints
//                                      the memory figures in bytes (ours: of this process and
//                                      of its decoder)
#include <objbase.h>
#include <psapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "imaging/TwoBandScaler.h"
#include "imaging/ColourProfile.h"
#include "imaging/PictureFit.h"
#include "imaging/PixelRecycler.h"
#include "win32/base/Windows.h"
#include "win32/decoder/DecoderProcessLoader.h"
#include "win32/pictures/Canvas.h"
#include "win32/pictures/ColourConversion.h"
#include "win32/pictures/Pictures.h"
#include "win32/pictures/WicPictureLoader.h"
#include "win32/system/Win32ProgramDetails.h"

using Microsoft::WRL::ComPtr;
using namespace glimra;
using namespace glimra::win32;

namespace {

using glimra::bench::Median;
using glimra::bench::NowMs;

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr float kTwipsPerPixel = 15.0f;  // 96 dots per inch

// Where the slide show window draws a picture.
RECT ShownRectOf(const Picture& picture) {
    const PixelRect r = ShownRect(picture.Width(), picture.Height(), kScreenWidth, kScreenHeight,
                                  kTwipsPerPixel, kTwipsPerPixel);
    return RECT{r.left, r.top, r.right, r.bottom};
}

// The program beside this one, which serves as the decoder.
std::wstring DecoderFile() {
    return ModuleFolder(nullptr) + L"\\Glimra.scr";
}

// What the window does once per change: a new picture, a cleared surface, the picture on it.
class Change {
  public:
    Change()
        : loader_(GetModuleHandleW(nullptr),
                  std::make_shared<ShowTarget>(ShowTarget::Size{kScreenWidth, kScreenHeight, 96}),
                  DecoderFile(), DecoderProcessLoader::kLimits, nullptr),
          black_(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) {
        canvas_.Resize(kScreenWidth, kScreenHeight);
    }

    // The milliseconds of loading and of drawing; false when the picture did not load.
    bool Run(const std::wstring& path, double& loadMs, double& drawMs) {
        // The loader keeps the last picture and would hand it back for the same unchanged
        // file without decoding it: every other change reads a copy under another name.
        const std::wstring copy = path + L".again.jpg";
        CopyFileW(path.c_str(), copy.c_str(), FALSE);
        const std::wstring& file = (runs_++ % 2) ? copy : path;
        // The picture before is released first, as the show releases the one before last.
        picture_.reset();
        const double start = NowMs();
        picture_ = loader_.Load(file);
        const double loaded = NowMs();
        if (!picture_) return false;
        const RECT all{0, 0, kScreenWidth, kScreenHeight};
        FillRect(canvas_.Dc(), &all, black_);
        static_cast<const Win32Picture&>(*picture_).Draw(canvas_, ShownRectOf(*picture_));
        GdiFlush();
        const double drawn = NowMs();
        loadMs = loaded - start;
        drawMs = drawn - loaded;
        return true;
    }

    const PicturePtr& Shown() const { return picture_; }
    const DecoderProcess& Decoder() const { return loader_.Decoder(); }

  private:
    DecoderProcessLoader loader_;
    int runs_ = 0;
    Canvas canvas_;
    HBRUSH black_;
    PicturePtr picture_;
};

// The platform's own decoding of the whole file to premultiplied 32-bit pixels.
class BareDecode {
  public:
    BareDecode() {
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_PPV_ARGS(&factory_));
    }

    bool Run(const std::wstring& path) {
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICBitmapSource> converted;
        UINT width = 0, height = 0;
        if (!factory_ ||
            FAILED(factory_->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand, &decoder)) ||
            FAILED(decoder->GetFrame(0, &frame)) ||
            FAILED(
                WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), &converted)) ||
            FAILED(converted->GetSize(&width, &height))) {
            return false;
        }
        width_ = static_cast<int>(width);
        height_ = static_cast<int>(height);
        const UINT stride = width * 4;
        pixels_.assign(static_cast<size_t>(stride) * height, 0);
        return SUCCEEDED(converted->CopyPixels(nullptr, stride, static_cast<UINT>(pixels_.size()),
                                               pixels_.data()));
    }

    // Whether the file's decoder offers decoding at a reduced size, which the loader uses.
    bool OffersReducedSize(const std::wstring& path) {
        static constexpr IID kSourceTransformId = {
            0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IUnknown> transform;
        return factory_ &&
               SUCCEEDED(factory_->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                             WICDecodeMetadataCacheOnDemand,
                                                             &decoder)) &&
               SUCCEEDED(decoder->GetFrame(0, &frame)) &&
               SUCCEEDED(frame->QueryInterface(kSourceTransformId,
                                               reinterpret_cast<void**>(transform.GetAddressOf())));
    }

    // The pixels of the last decode.
    const std::vector<BYTE>& Pixels() const { return pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    ComPtr<IWICImagingFactory> factory_;
    std::vector<BYTE> pixels_;
    int width_ = 0;
    int height_ = 0;
};

int Time(const std::wstring& path, int runs) {
    Change change;
    BareDecode bare;
    // The decoder's start: the first change starts it, the next ones find it running.
    std::vector<double> first, again;
    for (int i = 0; i < 3; ++i) {
        Change fresh;
        double loadMs = 0, drawMs = 0;
        if (!fresh.Run(path, loadMs, drawMs)) return 1;
        first.push_back(loadMs);
        if (!fresh.Run(path, loadMs, drawMs)) return 1;
        again.push_back(loadMs);
    }
    std::vector<double> load, draw, ours, plain;
    for (int i = 0; i <= runs; ++i) {  // the first of each is a warm-up
        double loadMs = 0, drawMs = 0;
        if (!change.Run(path, loadMs, drawMs)) {
            std::fprintf(stderr, "the picture did not load\n");
            return 1;
        }
        const double start = NowMs();
        if (!bare.Run(path)) {
            std::fprintf(stderr, "the bare decode failed\n");
            return 1;
        }
        const double bareMs = NowMs() - start;
        if (i == 0) continue;
        load.push_back(loadMs);
        draw.push_back(drawMs);
        ours.push_back(loadMs + drawMs);
        plain.push_back(bareMs);
    }
    const auto& picture = static_cast<const RasterPicture&>(*change.Shown());
    const RECT shown = ShownRectOf(picture);
    const int keptWidth = picture.Pixels().width, keptHeight = picture.Pixels().height;
    // The share of our reduction in a change: the decoded pixels through the scaler alone, in
    // the strips the loader feeds it, into the store of the previous result as in a show.
    std::vector<double> scale;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        TwoBandScaler scaler(bare.Width(), bare.Height(), keptWidth, keptHeight, nullptr,
                             &LightCurve::Srgb());
        const size_t stride = static_cast<size_t>(bare.Width()) * 4;
        for (int y = 0; y < bare.Height(); y += 64) {
            scaler.PushRows(bare.Pixels().data() + stride * y, std::min(64, bare.Height() - y),
                            stride);
        }
        PixelBuffer reduced = scaler.Finish();
        scale.push_back(NowMs() - start);
        ReturnPixelStore(std::move(reduced.pixels));  // as a released picture does
    }
    // The colour conversion of a picture that embeds a profile, at the kept size: the system's
    // colour management, from Adobe RGB to sRGB.
    std::vector<double> convert;
    ColourConversion colours;
    const std::vector<std::uint8_t> adobe = AdobeRgbProfile();
    const auto input = CheckInputProfile(adobe, ProfileSpace::Rgb);
    std::vector<std::uint32_t> kept(size_t(keptWidth) * keptHeight, 0x808080);
    for (int i = 0; i < runs && input && colours.Prepare(adobe, *input, L""); ++i) {
        const double start = NowMs();
        colours.Convert(kept.data(), keptWidth, keptHeight);
        convert.push_back(NowMs() - start);
    }
    std::printf("picture %dx%d kept %dx%d shown %ldx%ld reduced-decode %s reduced-on %s\n",
                picture.Width(), picture.Height(), keptWidth, keptHeight, shown.right - shown.left,
                shown.bottom - shown.top, bare.OffersReducedSize(path) ? "yes" : "no",
                TwoBandScaler::Splits(bare.Width(), bare.Height(), keptWidth) ? "two-threads"
                                                                              : "one-thread");
    std::printf(
        "ours_ms %.2f load_ms %.2f draw_ms %.2f scale_ms %.2f bare_ms %.2f runs %d"
        " decoder_start_ms %.2f convert_ms %.2f\n",
        Median(ours), Median(load), Median(draw), Median(scale), Median(plain), runs,
        Median(first) - Median(again), convert.empty() ? -1.0 : Median(convert));
    return 0;
}

PROCESS_MEMORY_COUNTERS Memory(HANDLE process = GetCurrentProcess()) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process, &counters, sizeof(counters));
    return counters;
}

int Peak(const std::wstring& which, const std::wstring& path) {
    const PROCESS_MEMORY_COUNTERS idle = Memory();
    PROCESS_MEMORY_COUNTERS after{}, decoder{};
    bool done = false;
    // Each side makes only what it needs, and reads the figures while it still holds the
    // result, as while the picture is on the screen.
    if (which == L"ours") {
        Change change;
        double loadMs = 0, drawMs = 0;
        done = change.Run(path, loadMs, drawMs);
        after = Memory();
        decoder = Memory(change.Decoder().Process());
    } else if (which == L"bare") {
        BareDecode bare;
        done = bare.Run(path);
        after = Memory();
    }
    if (!done) {
        std::fprintf(stderr, "nothing was shown\n");
        return 1;
    }
    std::printf("idle_ws %zu idle_pf %zu peak_ws %zu peak_pf %zu decoder_ws %zu decoder_pf %zu\n",
                idle.WorkingSetSize, idle.PagefileUsage, after.PeakWorkingSetSize,
                after.PeakPagefileUsage, decoder.PeakWorkingSetSize, decoder.PeakPagefileUsage);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int result = 2;
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"time" && argc == 4) {
        result = Time(argv[2], std::max(1, _wtoi(argv[3])));
    } else if (command == L"peak" && argc == 4) {
        result = Peak(argv[2], argv[3]);
    } else {
        std::fprintf(stderr, "usage: bench_picture time <file> <runs> | peak ours|bare <file>\n");
    }
    CoUninitialize();
    return result;
}
