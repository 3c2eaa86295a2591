#pragma once

#include <optional>

#include "controls/Form.h"
#include "controls/Peers.h"
#include "platform/Screen.h"
#include "win32/base/Dpi.h"
#include "win32/base/WindowBinding.h"
#include "win32/forms/ControlWindows.h"
#include "win32/forms/DialogKeys.h"
#include "win32/forms/DisplayStatus.h"
#include "win32/forms/FormContext.h"
#include "win32/forms/TipWindow.h"
#include "win32/monitors/MonitorCovers.h"
#include "win32/painting/FontCache.h"
#include "win32/painting/KeptSurface.h"
#include "win32/painting/SchemeColors.h"
#include "win32/painting/WindowlessLayer.h"
#include "win32/pictures/DesignPictures.h"
#include "win32/pictures/ShowTarget.h"
#include "win32/system/TextScale.h"

namespace glimra::win32 {

// A borderless maximized window is its monitor's rectangle, at any resolution.
bool FillsItsMonitor(const Form& form);

// The top-level window of a Form: it is made, shown, sized, activated and closed here, follows
// the resolution of its monitor and covers the other monitors while it is full screen. What is
// in it belongs to the rooms it holds: the windows of the controls, the one tip window, the
// windowless layer and the kept drawing surface; a dialog's keys go through its DialogKeys.
class FormWindow : public FormPeer, public FormContext {
  public:
    struct Resources {
        HICON icon;
        HCURSOR formPointer;  // the pointer of forms that show the program icon
        DesignPictures& pictures;
        HWND dialogOwner;  // the window that owns dialogs, or null
        // The monitors a full-screen window fits and covers.
        MonitorList monitors = &CurrentMonitors;
        // Where the slide show's pictures are shown, for the loaders; null when none is told.
        ShowTarget* showTarget = nullptr;
        // Whether the user's scheme is a high-contrast one.
        HighContrastQuery highContrast = &SystemHighContrast;
        // The user's text size, which a dialog's fonts and layout follow.
        TextScaleQuery textScale = &SystemTextScale;
    };
    FormWindow(Form& form, Screen& screen, Resources resources);
    ~FormWindow() override;

    bool IsDialog() const;

    // What the rooms see of the window.
    HWND Handle() const override { return hwnd_; }
    Form& Model() const override { return form_; }
    int CurrentDpi() const override { return dpi_.dpi; }
    const Dpi& Scale() const override { return dpi_; }
    FontCache& Fonts() override { return fonts_; }
    ControlWindows& Controls() override { return controls_; }
    TipWindow& Tips() override { return tips_; }
    WindowlessLayer& Windowless() override { return windowless_; }
    KeptSurface& Surface() override { return surface_; }
    HWND WindowOf(const Control& control) const override { return controls_.WindowOf(control); }
    HWND StandInOf(const Control& link) const override { return controls_.StandInOf(link); }

    // On a dialog, a mouse-move message at the pointer's screen position when the dialog was
    // shown, or at that of the last one seen, is no movement, so it clears no hint.
    bool IsMovement(HWND hwnd, LPARAM lParam) override;

    void Create() override;
    void Destroy() override;
    void VisibleChanged() override;
    void WindowStateChanged() override;
    void PositionChanged() override;
    void SurfaceChanged() override;
    void ControlChanged(Control& control) override;
    void MakeTopmost() override;

    // Paints `area` of the form: WM_PAINT and captures share it.
    void Paint(HDC dc, const RECT& area);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeControls();
    void ReportSize();
    void UpdateCovers();
    // `windowDpi` is the monitor's; a dialog lays itself out at that times the text size.
    void ChangeDpi(int windowDpi, const RECT* suggested);
    int LayoutDpi(int windowDpi) const;
    void FocusFirst();

    Form& form_;
    Screen& screen_;
    Resources resources_;
    WindowBinding binding_{this, nullptr};
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    Dpi dpi_;
    FontCache fonts_;
    ControlWindows controls_{*this};
    TipWindow tips_;
    SchemeColors scheme_;
    WindowlessLayer windowless_;
    KeptSurface surface_;
    bool surfaceChangePosted_ = false;  // the surface is judged once its handler returns
    bool controlsMade_ = false;         // at the form's first showing
    DialogKeys keys_{*this};
    std::optional<POINT> shownAt_, lastMoveAt_;  // the pointer, in screen pixels
    MonitorCovers covers_;         // the other monitors, while the window is full screen
    DisplayStatus displayStatus_;  // the display's turning off and on, for the show
};

}  // namespace glimra::win32
