#include "win32/painting/SchemeColors.h"

#include "win32/base/Windows.h"

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

Color SchemeColors::InkOf(const Control& control, Color design, Color ground) const {
    if (!highContrast_ || !(ground & kSystemColorFlag)) return design;
    // A link is under the pointing hand, and shows the hand while the pointer is over it.
    if (control.MouseIcon() == PointerPicture::PointingHand) {
        return SystemColor(control.Pointer() == MousePointer::Custom ? COLOR_HIGHLIGHT
                                                                     : COLOR_HOTLIGHT);
    }
    if (design & kSystemColorFlag) return design;  // it follows the scheme already
    return ground == SystemColor(COLOR_WINDOW) ? kWindowText : kButtonText;
}

}  // namespace glimra::win32
