#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace glimra {

// Profiles larger than this are not read: a sound one is rarely past a few hundred kilobytes.
inline constexpr std::size_t kMaxProfileBytes = 4u << 20;

enum class ProfileSpace { Rgb, Grey, Cmyk };

// What a picture's embedded colour profile says, once it has been found sound enough to serve
// as the description of the picture's pixels.
struct InputProfile {
    ProfileSpace space;
    int intent;  // the profile's own rendering intent; perceptual (0) when it names none
    // Stored value (0..1) to linear light (0..1), from its tone curve; none when the profile
    // describes its pixels through tables only.
    std::function<double(double)> toLinear;
};

// The profile in a JPEG's APP2 "ICC_PROFILE" markers, its chunks joined in their numbered
// order; empty when there is none, or when the chunks do not make one whole profile.
std::vector<std::uint8_t> JpegEmbeddedProfile(const std::uint8_t* data, std::size_t size);

// The profile embedded in a bitmap with a version 5 header; empty for none. A linked profile
// names a file: it is never opened, and the bitmap counts as sRGB.
std::vector<std::uint8_t> BmpEmbeddedProfile(const std::uint8_t* data, std::size_t size);

// Whether a JPEG's EXIF says Adobe RGB without a profile: colour space "uncalibrated" and the
// interoperability index "R03".
bool JpegExifSaysAdobeRgb(const std::uint8_t* data, std::size_t size);

// The profile as an input profile of a picture whose pixels are `pixels`, or nothing when it
// cannot serve: damaged, truncated, too large, not an input profile (a device link, an abstract
// profile) or of a colour space the pixels are not in.
std::optional<InputProfile> CheckInputProfile(const std::vector<std::uint8_t>& profile,
                                              ProfileSpace pixels);

// A profile for RGB pixels with the given primaries and white (CIE xy) and a pure gamma: used
// for pictures that name a colour space without embedding its profile.
std::vector<std::uint8_t> MatrixProfile(const double primaries[3][2], const double white[2],
                                        double gamma);
std::vector<std::uint8_t> AdobeRgbProfile();

}  // namespace glimra
