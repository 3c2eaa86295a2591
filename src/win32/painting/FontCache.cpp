#include "win32/painting/FontCache.h"

#include <cmath>

namespace glimra::win32 {

HFONT FontCache::Get(const Font& font, int dpi) {
    for (const Entry& entry : fonts_) {
        if (entry.dpi == dpi && entry.font == font) return entry.handle.Get();
    }
    LOGFONTW spec{};
    spec.lfHeight = -static_cast<LONG>(std::lround(font.points * static_cast<float>(dpi) / 72.0f));
    spec.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    spec.lfUnderline = font.underline;
    spec.lfCharSet = DEFAULT_CHARSET;
    spec.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(spec.lfFaceName, font.name.c_str(), LF_FACESIZE);
    fonts_.push_back({font, dpi, ScopedFont(CreateFontIndirectW(&spec))});
    return fonts_.back().handle.Get();
}

}  // namespace glimra::win32
