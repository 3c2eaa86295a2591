#pragma once

#include <cstdint>
#include <string>

namespace glimra {

// A colour as red, green and blue components packed like the platform's 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// A colour with its top bit set names a system colour by its index, as the platform's own
// colour settings do: kButtonFace is the face of buttons and dialogs.
constexpr Color kSystemColorFlag = 0x80000000u;
constexpr Color kButtonFace = kSystemColorFlag | 15u;
constexpr Color kButtonText = kSystemColorFlag | 18u;
constexpr Color kWindowText = kSystemColorFlag | 8u;

struct Font {
    std::wstring name = L"MS Sans Serif";
    float points = 8.25f;
    bool bold = false;
    bool underline = false;

    bool operator==(const Font&) const = default;
};

}  // namespace glimra
