#include "controls/Control.h"

#include "controls/Form.h"

namespace glimra {

Control::Control(Container& parent, ControlKind kind, std::wstring name)
    : parent_(parent), kind_(kind), name_(std::move(name)) {
    parent_.children_.push_back(this);
    parent_.OwnerForm().AddControl(this);
}

bool Control::Windowless() const {
    return kind_ == ControlKind::Label || kind_ == ControlKind::Image || kind_ == ControlKind::Line;
}

void Control::Move(float left, float top, float width, float height) {
    if (s_.left == left && s_.top == top && s_.width == width && s_.height == height) return;
    s_.left = left;
    s_.top = top;
    s_.width = width;
    s_.height = height;
    Changed();
}

void Control::Changed() {
    OwnerForm().ControlChanged(*this);
}

void Control::PlatformMouseMove(int button, int shift, float x, float y) {
    if (EffectiveEnabled() && MouseMove) MouseMove(button, shift, x, y);
}

void Control::PlatformMouseUp(int button, int shift, float x, float y) {
    if (EffectiveEnabled() && MouseUp) MouseUp(button, shift, x, y);
}

void Control::PlatformClick() {
    if (EffectiveEnabled()) Raise(Click);
}

void Control::PlatformDblClick() {
    if (EffectiveEnabled()) Raise(DblClick);
}

}  // namespace glimra
