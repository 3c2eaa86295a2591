#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/ColourProfile.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// Turns a picture's pixels from the colours its profile describes into the display's, through
// the system's own colour management (ICM). The display's colours are those of the profile
// file it is given, or sRGB. The last transform is kept: a folder of photos from one camera
// or editor embeds the same profile in every one.
class ColourConversion {
  public:
    ColourConversion() = default;
    ColourConversion(const ColourConversion&) = delete;
    ColourConversion& operator=(const ColourConversion&) = delete;
    ~ColourConversion();

    // Makes ready the conversion from `profile` to the display's colours (`displayProfile`, a
    // profile file, or empty for sRGB). False when the system cannot open or join the two.
    bool Prepare(const std::vector<std::uint8_t>& profile, const InputProfile& input,
                 const std::wstring& displayProfile);

    // Converts `width` x `height` 32-bit pixels (blue, green, red, then alpha or premultiplied
    // alpha, rows top-down and packed) in place through the conversion made ready last. False
    // when the system fails on them.
    bool Convert(std::uint32_t* pixels, int width, int height) const;
    // Converts `width` x `height` CMYK pixels (cyan, magenta, yellow and black bytes, rows
    // packed) through a conversion made ready from a CMYK profile into opaque 32-bit pixels at
    // `out`, whose rows are `stride` bytes apart.
    bool ConvertCmyk(const std::uint32_t* inks, int width, int height, std::uint8_t* out,
                     unsigned stride) const;

  private:
    void Forget();

    std::uint64_t digest_ = 0;
    std::size_t size_ = 0;
    int intent_ = -1;
    std::wstring display_;
    bool grey_ = false;
    void* transform_ = nullptr;
};

// The path of the system's sRGB profile, or empty.
std::wstring SrgbProfilePath();

}  // namespace glimra::win32
