#include "controls/WindowlessControl.h"

#include "controls/Form.h"

namespace glimra {

WindowlessControl::WindowlessControl(Form& container) : container_(container) {
    container_.AddControl(this);
}

void WindowlessControl::Changed() {
    container_.ControlChanged();
}

}  // namespace glimra
