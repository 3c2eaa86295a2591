#include "win32/pictures/ColourConversion.h"

#include <icm.h>

#include <algorithm>

#include "win32/base/SystemLibrary.h"
#include "win32/pictures/FileContents.h"

namespace glimra::win32 {
namespace {

// The colour management functions, from the system folder at their first use.
#define GLIMRA_MSCMS(name) SystemFunction<decltype(name)>(L"mscms.dll", #name)
struct Icm {
    decltype(&OpenColorProfileW) open = GLIMRA_MSCMS(OpenColorProfileW);
    decltype(&CloseColorProfile) close = GLIMRA_MSCMS(CloseColorProfile);
    decltype(&CreateMultiProfileTransform) create = GLIMRA_MSCMS(CreateMultiProfileTransform);
    decltype(&DeleteColorTransform) remove = GLIMRA_MSCMS(DeleteColorTransform);
    decltype(&TranslateBitmapBits) translate = GLIMRA_MSCMS(TranslateBitmapBits);
    decltype(&GetStandardColorSpaceProfileW) standard = GLIMRA_MSCMS(GetStandardColorSpaceProfileW);
    bool Loaded() const { return open && close && create && remove && translate && standard; }
};
#undef GLIMRA_MSCMS

const Icm& Functions() {
    static const Icm icm;
    return icm;
}

// A profile opened for reading, closed when it goes.
class OpenProfile {
  public:
    OpenProfile(const Icm& icm, PROFILE description) : icm_(icm) {
        handle_ = icm.open(&description, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);
    }
    ~OpenProfile() {
        if (handle_) icm_.close(handle_);
    }
    HPROFILE Get() const { return handle_; }

  private:
    const Icm& icm_;
    HPROFILE handle_ = nullptr;
};

constexpr int kRowsAtOnce = 64;

}  // namespace

std::wstring SrgbProfilePath() {
    const Icm& icm = Functions();
    if (!icm.Loaded()) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD bytes = sizeof(path);
    constexpr DWORD kSrgb = 0x73524742;  // LCS_sRGB, 'sRGB'
    if (!icm.standard(nullptr, kSrgb, path, &bytes)) return {};
    return path;
}

ColourConversion::~ColourConversion() {
    Forget();
}

void ColourConversion::Forget() {
    if (transform_) Functions().remove(static_cast<HTRANSFORM>(transform_));
    transform_ = nullptr;
    intent_ = -1;
}

bool ColourConversion::Prepare(const std::vector<std::uint8_t>& profile, const InputProfile& input,
                               const std::wstring& displayProfile) {
    const std::uint64_t digest = ContentDigest(profile.data(), profile.size());
    if (transform_ && digest == digest_ && profile.size() == size_ && input.intent == intent_ &&
        displayProfile == display_) {
        return true;
    }
    Forget();
    const Icm& icm = Functions();
    if (!icm.Loaded()) return false;
    std::wstring displayPath = displayProfile.empty() ? SrgbProfilePath() : displayProfile;
    const OpenProfile source(icm, {PROFILE_MEMBUFFER, const_cast<std::uint8_t*>(profile.data()),
                                   static_cast<DWORD>(profile.size())});
    const OpenProfile display(icm,
                              {PROFILE_FILENAME, displayPath.data(),
                               static_cast<DWORD>((displayPath.size() + 1) * sizeof(wchar_t))});
    if (!source.Get() || !display.Get()) return false;
    HPROFILE both[] = {source.Get(), display.Get()};
    // The profile's own intent takes the picture to the connection space; from there the
    // display's profile is entered with the same intent.
    DWORD intents[] = {static_cast<DWORD>(input.intent)};
    transform_ = icm.create(both, 2, intents, 1, BEST_MODE, INDEX_DONT_CARE);
    if (!transform_) return false;
    digest_ = digest;
    size_ = profile.size();
    intent_ = input.intent;
    display_ = displayProfile;
    grey_ = input.space == ProfileSpace::Grey;
    return true;
}

bool ColourConversion::Convert(std::uint32_t* pixels, int width, int height) const {
    if (!transform_ || !pixels || width <= 0 || height <= 0) return false;
    const auto transform = static_cast<HTRANSFORM>(transform_);
    const Icm& icm = Functions();
    const bool grey = grey_;
    const DWORD stride = static_cast<DWORD>(width) * 4;
    // A strip at a time through a buffer of its own: the system is not promised to convert in
    // place.
    std::vector<std::uint32_t> converted(static_cast<size_t>(width) * kRowsAtOnce);
    std::vector<std::uint8_t> greys(grey ? static_cast<size_t>(width) * kRowsAtOnce : 0);
    for (int y = 0; y < height; y += kRowsAtOnce) {
        const int rows = std::min(kRowsAtOnce, height - y);
        std::uint32_t* strip = pixels + static_cast<size_t>(y) * width;
        const size_t count = static_cast<size_t>(width) * rows;
        BOOL done;
        if (grey) {
            // Grey pictures arrive with three equal channels; the profile takes one.
            std::transform(strip, strip + count, greys.begin(),
                           [](std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel); });
            done = icm.translate(transform, greys.data(), BM_GRAY, width, rows,
                                 static_cast<DWORD>(width), converted.data(), BM_xRGBQUADS, stride,
                                 nullptr, 0);
        } else {
            done = icm.translate(transform, strip, BM_xRGBQUADS, width, rows, stride,
                                 converted.data(), BM_xRGBQUADS, stride, nullptr, 0);
        }
        if (!done) return false;
        // The fourth byte is the picture's alpha, which the conversion leaves alone.
        for (size_t i = 0; i < count; ++i)
            strip[i] = (converted[i] & 0x00FFFFFF) | (strip[i] & 0xFF000000);
    }
    return true;
}

bool ColourConversion::ConvertCmyk(const std::uint32_t* inks, int width, int height,
                                   std::uint8_t* out, unsigned stride) const {
    if (!transform_ || !inks || !out || width <= 0 || height <= 0) return false;
    // Each pixel a 32-bit 0xKKYYMMCC, as the codecs store CMYK: cyan in the first byte. (Wine
    // reads no other CMYK layout.)
    if (!Functions().translate(
            static_cast<HTRANSFORM>(transform_), const_cast<std::uint32_t*>(inks), BM_KYMCQUADS,
            width, height, static_cast<DWORD>(width) * 4, out, BM_xRGBQUADS, stride, nullptr, 0)) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = out + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x)
            row[4 * x + 3] = 0xFF;
    }
    return true;
}

}  // namespace glimra::win32
