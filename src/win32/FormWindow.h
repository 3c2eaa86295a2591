#pragma once

#include <map>
#include <string>
#include <vector>

#include "controls/Form.h"
#include "controls/Peers.h"
#include "platform/Screen.h"
#include "win32/Canvas.h"
#include "win32/DesignPictures.h"
#include "win32/Dpi.h"
#include "win32/FontCache.h"
#include "win32/MonitorCovers.h"
#include "win32/Scoped.h"

namespace glimra::win32 {

// The top-level window of a Form and the windows of its controls. Windowed controls become
// standard controls (edit, button, tab, combo and list boxes); picture boxes and frames become
// container windows; labels, images and lines are drawn and hit-tested by the window they sit
// on. The form's drawing surface is rendered into a kept bitmap once per change, so a repaint
// only copies it and draws the controls over it. Sizes follow the resolution of the monitor
// the window is on.
class FormWindow : public FormPeer {
  public:
    struct Resources {
        HICON icon;
        HCURSOR formPointer;  // the pointer of forms that show the program icon
        DesignPictures& pictures;
        HWND dialogOwner;  // the window that owns dialogs, or null
        // The monitors a full-screen window fits and covers.
        MonitorList monitors = &CurrentMonitors;
    };
    FormWindow(Form& form, Screen& screen, Resources resources);
    ~FormWindow() override;

    HWND Handle() const { return hwnd_; }
    HWND WindowOf(const Control& control) const;
    // The window a control is drawn on or is a child of: its container's, or the form's.
    HWND HostWindowOf(const Control& control) const;
    int CurrentDpi() const { return dpi_.dpi; }

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

    // Runs a queued message through the dialog's keyboard handling (key preview, tab order,
    // access keys, Esc). True when it was handled and must not be dispatched.
    static bool TranslateDialogKeys(MSG& message);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StandardControlProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    static FormWindow* OwnerOf(HWND hwnd);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleContainerMessage(HWND hwnd, Control& control, UINT message, WPARAM wParam,
                                   LPARAM lParam);
    // Messages every window of the form handles alike: notifications of controls, colours,
    // owner-drawn lists, tips, mouse and pointer. True when handled.
    bool HandleShared(HWND hwnd, Container& container, Control* self, UINT message, WPARAM wParam,
                      LPARAM lParam, LRESULT& result);

    void ReportSize();
    void UpdateCovers();
    void RenderSurface();
    void CreateChildren(Container& container, HWND parent);
    void CreateChild(Control& control, HWND parent);
    void Sync(Control& control);
    void SyncAll();
    void SyncContents(Control& control);
    void SyncEnabled(const Container& container);
    void AddTool(Control& control);
    RECT RectOf(const Control& control) const;
    void PaintContainer(HWND hwnd, HDC dc, Container& container, Control* self);
    void PaintWindowless(HDC dc, Canvas& canvas, const Container& container);
    void PaintWindowlessControl(HDC dc, Canvas& canvas, const Control& control);
    Control* WindowlessAt(const Container& container, POINT point) const;
    void Mouse(HWND hwnd, Container& container, Control* self, UINT message, WPARAM wParam,
               LPARAM lParam);
    bool SetPointer(HWND hwnd, const Container& container, Control* self);
    HCURSOR PointerOf(const Control& control) const;
    void Command(HWND child, WPARAM wParam);
    bool Notify(NMHDR& header, LRESULT& result);
    void DrawListItem(const DRAWITEMSTRUCT& item);
    void ChangeDpi(int dpi, const RECT* suggested);
    void FocusFirst();
    Control* ControlOfWindow(HWND hwnd) const;

    Form& form_;
    Screen& screen_;
    Resources resources_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND lastFocus_ = nullptr;
    Dpi dpi_;
    FontCache fonts_;
    std::map<const Control*, HWND> windows_;
    std::map<const Control*, std::vector<std::wstring>> shownItems_;
    bool syncing_ = false;  // echoes of what the model pushes are not user actions
    std::wstring tipText_;
    Canvas surface_;  // the drawing surface, rendered when it changed
    Canvas frame_;    // surface plus controls, composed for one repaint
    Canvas buffer_;   // one container's paint, composed off-screen
    std::vector<DrawnPicture> rendered_;
    bool renderedOnce_ = false;
    MonitorCovers covers_;  // the other monitors, while the window is full screen
};

// The platform's colour for a model colour, system colours included.
COLORREF ColorRefOf(Color color);

}  // namespace glimra::win32
