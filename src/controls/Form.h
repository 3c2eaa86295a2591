#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "controls/Peers.h"
#include "controls/Style.h"
#include "platform/Picture.h"

namespace glimra {

class Application;
class Timer;

enum class WindowState { Normal, Minimized, Maximized };
enum class BorderStyle { None, FixedDialog };
enum class UnloadMode { ControlMenu, Code };

// What a form looks like before any code runs. Sizes are inner sizes in twips.
struct FormDesign {
    std::wstring caption;
    BorderStyle border = BorderStyle::FixedDialog;
    float width = 0;
    float height = 0;
    Color backColor = Rgb(0, 0, 0);
    bool programIconPointer = false;  // the pointer over the form is the program icon
    glimra::Font font;                // the font of controls that have none of their own
    bool keyPreview = false;          // Form_KeyDown sees every key before the focused control
};

// One picture on a form's persistent drawing surface, placed in twips.
struct DrawnPicture {
    PicturePtr picture;
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    bool operator==(const DrawnPicture&) const = default;
};

// A top-level window of the program. It holds its state and raises its events synchronously;
// a peer, when there is one, turns it into a platform window.
class Form : public Container {
  public:
    Form(Application& app, FormDesign design);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    void Load();
    void Show();
    void Hide();
    void Unload();
    bool Loaded() const { return loaded_; }
    bool Visible() const { return visible_; }
    bool HiddenWhileLoading() const { return hiddenWhileLoading_; }

    const FormDesign& Design() const { return design_; }
    FormPeer* Peer() const { return peer_.get(); }

    WindowState GetWindowState() const { return windowState_; }
    void SetWindowState(WindowState state);

    // Outer position and size, and inner size, all in twips.
    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    float ScaleWidth() const { return scaleWidth_; }
    float ScaleHeight() const { return scaleHeight_; }
    // Twips per pixel at the resolution of the window's monitor, as the platform reports it;
    // 0 until it has.
    float TwipsPerPixel() const { return twipsPerPixel_; }
    void Move(float left, float top);

    // The persistent drawing surface: the back colour plus the pictures painted since Cls.
    void Cls();
    void PaintPicture(PicturePtr picture, float left, float top, float width, float height);
    const std::vector<DrawnPicture>& Surface() const { return surface_; }

    void ZOrderTopmost();

    // Every control of the form, on whatever container, in the order they were made.
    const std::vector<Control*>& AllControls() const { return controls_; }
    Form& OwnerForm() override { return *this; }
    bool ContentsEnabled() const override { return true; }

    // Reports from the platform (or a test standing in for it).
    void PlatformResized(float outerWidth, float outerHeight, float innerWidth, float innerHeight);
    void PlatformMoved(float left, float top);
    void PlatformScaled(float twipsPerPixel) { twipsPerPixel_ = twipsPerPixel; }
    void PlatformClose();
    void PlatformClick() { Form_Click(); }
    void PlatformKeyDown(int keyCode, int shift) { Form_KeyDown(keyCode, shift); }
    void PlatformMouseMove(int button, int shift, float x, float y) {
        Form_MouseMove(button, shift, x, y);
    }
    // The display turned off (power settings) or on again.
    void PlatformDisplayChanged(bool on) { Form_DisplayChanged(on); }

  protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {}
    virtual void Form_Resize() {}
    virtual void Form_Click() {}
    virtual void Form_KeyDown(int /*keyCode*/, int /*shift*/) {}
    virtual void Form_MouseMove(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
    virtual void Form_DisplayChanged(bool /*on*/) {}

  private:
    friend class Timer;
    friend class Control;
    void AddTimer(Timer* timer) { timers_.push_back(timer); }
    void AddControl(Control* control) { controls_.push_back(control); }
    void ControlChanged(Control& control);

    Application& app_;
    FormDesign design_;
    std::unique_ptr<FormPeer> peer_;
    std::vector<Timer*> timers_;
    std::vector<Control*> controls_;
    bool designKept_ = false;
    std::vector<DrawnPicture> surface_;
    bool loaded_ = false;
    bool loading_ = false;
    bool eventsOn_ = false;  // from the start of Form_Load until the form is unloaded
    bool unloading_ = false;
    bool visible_ = false;
    bool hiddenWhileLoading_ = false;
    bool shownSinceLoad_ = false;
    WindowState windowState_ = WindowState::Normal;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    float scaleWidth_ = 0, scaleHeight_ = 0;
    float twipsPerPixel_ = 0;
};

}  // namespace glimra
