#pragma once

#include <string>
#include <utility>
#include <vector>

#include "controls/Form.h"
#include "controls/Peers.h"
#include "platform/Screen.h"
#include "win32/Canvas.h"
#include "win32/MonitorCovers.h"
#include "win32/Scoped.h"

namespace glimra {
class Label;
}

namespace glimra::win32 {

// The top-level window of a Form. It renders the form's drawing surface into a kept bitmap
// once per change, so that a repaint only copies that bitmap and draws the form's labels
// over it, and it reports sizes, closing and input back to the form.
class FormWindow : public FormPeer {
  public:
    FormWindow(Form& form, Screen& screen, HICON icon, HCURSOR formPointer);
    ~FormWindow() override;

    HWND Handle() const { return hwnd_; }

    void Create() override;
    void Destroy() override;
    void VisibleChanged() override;
    void WindowStateChanged() override;
    void PositionChanged() override;
    void SurfaceChanged() override;
    void ControlsChanged() override;
    void MakeTopmost() override;

    // Paints `area` of the form: WM_PAINT and captures share it.
    void Paint(HDC dc, const RECT& area);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ReportSize();
    void UpdateCovers();
    void RenderSurface();
    void DrawLabel(HDC dc, const Label& label);
    HFONT FontFor(const Font& font);
    int PixelsX(float twips) const;
    int PixelsY(float twips) const;

    Form& form_;
    Screen& screen_;
    HICON icon_;
    HCURSOR formPointer_;
    HWND hwnd_ = nullptr;
    Canvas surface_;  // the drawing surface, rendered when it changed
    Canvas frame_;    // surface plus labels, composed for one repaint
    std::vector<DrawnPicture> rendered_;
    bool renderedOnce_ = false;
    std::vector<std::pair<Font, ScopedFont>> fonts_;
    MonitorCovers covers_;  // the other monitors, while the window is full screen
};

// The platform's colour for a model colour, system colours included.
COLORREF ColorRefOf(Color color);

}  // namespace glimra::win32
