#include "controls/Form.h"

#include "controls/Application.h"
#include "controls/Timer.h"
#include "platform/ScopedFlag.h"

namespace glimra {

Form::Form(Application& app, FormDesign design)
    : app_(app),
      design_(std::move(design)),
      width_(design_.width),
      height_(design_.height),
      scaleWidth_(design_.width),
      scaleHeight_(design_.height) {}

Form::~Form() = default;

void Form::Load() {
    if (loaded_) return;
    if (!designKept_) {
        for (Control* control : controls_)
            control->KeepDesign();
        designKept_ = true;
    }
    for (Control* control : controls_)
        control->FormLoading();
    loaded_ = true;
    hiddenWhileLoading_ = false;
    shownSinceLoad_ = false;
    app_.FormLoaded();
    if (!peer_ && app_.Peers()) peer_ = app_.Peers()->CreateFormPeer(*this);
    if (peer_) peer_->Create();
    for (Timer* timer : timers_)
        timer->Attach(app_.Peers());
    eventsOn_ = true;
    const ScopedFlag loading(loading_);
    Form_Load();
}

void Form::Show() {
    Load();
    if (!loaded_ || visible_) return;
    visible_ = true;
    if (peer_) peer_->VisibleChanged();
    // A form is laid out again when it first appears after its load.
    if (!shownSinceLoad_) {
        shownSinceLoad_ = true;
        Form_Resize();
    }
}

void Form::Hide() {
    Load();
    if (loading_) hiddenWhileLoading_ = true;
    if (!loaded_ || !visible_) return;
    visible_ = false;
    if (peer_) peer_->VisibleChanged();
}

void Form::Unload() {
    if (!loaded_ || unloading_) return;
    const ScopedFlag unloading(unloading_);
    try {
        Form_Unload();
    } catch (...) {
        // A failing Form_Unload ends that handler only: the form is unloaded all the same,
        // so a program whose last form it is still ends.
    }
    for (Timer* timer : timers_)
        timer->Detach();
    if (peer_) peer_->Destroy();
    // The next load starts from the design, as a form made afresh would.
    for (Control* control : controls_)
        control->RestoreDesign();
    visible_ = false;
    loaded_ = false;
    eventsOn_ = false;
    app_.FormUnloaded();
}

void Form::SetWindowState(WindowState state) {
    if (windowState_ == state) return;
    windowState_ = state;
    if (peer_) peer_->WindowStateChanged();
}

void Form::Move(float left, float top) {
    left_ = left;
    top_ = top;
    if (peer_) peer_->PositionChanged();
}

void Form::Cls() {
    surface_.clear();
    if (peer_) peer_->SurfaceChanged();
}

void Form::PaintPicture(PicturePtr picture, float left, float top, float width, float height) {
    if (!picture) return;
    surface_.push_back({std::move(picture), left, top, width, height});
    if (peer_) peer_->SurfaceChanged();
}

void Form::ZOrderTopmost() {
    if (peer_) peer_->MakeTopmost();
}

void Form::PlatformResized(float outerWidth, float outerHeight, float innerWidth,
                           float innerHeight) {
    width_ = outerWidth;
    height_ = outerHeight;
    scaleWidth_ = innerWidth;
    scaleHeight_ = innerHeight;
    if (eventsOn_) Form_Resize();
}

void Form::PlatformMoved(float left, float top) {
    left_ = left;
    top_ = top;
}

void Form::PlatformClose() {
    bool cancel = false;
    Form_QueryUnload(cancel, UnloadMode::ControlMenu);
    if (!cancel) Unload();
}

void Form::ControlChanged(Control& control) {
    if (peer_ && loaded_) peer_->ControlChanged(control);
}

}  // namespace glimra
