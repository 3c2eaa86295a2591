#include "win32/painting/SchemeColors.h"

#include "win32/base/Windows.h"
#include "win32/painting/ColorRef.h"
#include "win32/painting/Contrast.h"

namespace glimra::win32 {
namespace {

constexpr Color SystemColor(int index) {
    return kSystemColorFlag | static_cast<Color>(index);
}

}  // namespace

bool SystemHighContrast() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof(setting);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

Color SchemeColors::TextGroundOf(const Control& control, Color ground) const {
    if (!highContrast_ || !(ground & kSystemColorFlag)) return ground;
    if (control.MouseIcon() != PointerPicture::PointingHand) return ground;
    return SystemColor(control.Pointer() == MousePointer::Custom ? COLOR_HIGHLIGHT : COLOR_WINDOW);
}

Color SchemeColors::InkOf(const Control& control, Color design, Color ground) const {
    if (!(ground & kSystemColorFlag)) return design;
    const bool link = control.MouseIcon() == PointerPicture::PointingHand;
    // A link shows the pointing hand while the pointer is over it.
    const bool hot = link && control.Pointer() == MousePointer::Custom;
    const Color text = ground == SystemColor(COLOR_WINDOW) ? kWindowText : kButtonText;
    if (highContrast_) {
        // Only pairs the system promises to keep apart: the hot-track colour on a window's
        // ground, the highlight's text on the highlight, the text colour on its own ground.
        if (link && ground == SystemColor(COLOR_WINDOW)) return SystemColor(COLOR_HOTLIGHT);
        if (link && ground == SystemColor(COLOR_HIGHLIGHT)) return SystemColor(COLOR_HIGHLIGHTTEXT);
        return design & kSystemColorFlag && !link ? design : text;
    }
    if (design & kSystemColorFlag) return design;  // it follows the scheme already
    const COLORREF back = ColorRefOf(ground);
    const auto readable = [back](Color ink) {
        return ContrastOf(ColorRefOf(ink), back) >= kReadableContrast;
    };
    if (readable(design)) return design;
    // The system's colour for the use: the hot-track colour for a link at rest; the text
    // colour for a text, a border, and a link under the pointer, which so stays apart from
    // the link at rest (and underlined).
    const Color use = link && !hot ? SystemColor(COLOR_HOTLIGHT) : text;
    return readable(use) ? use : text;
}

}  // namespace glimra::win32
