#pragma once

#include "controls/Control.h"

namespace glimra::win32 {

// Picture boxes and frames hold other controls and get container windows of their own.
inline Container* AsContainer(Control& control) {
    const bool holds =
        control.Kind() == ControlKind::Frame || control.Kind() == ControlKind::PictureBox;
    return holds ? dynamic_cast<Container*>(&control) : nullptr;
}

// The picture box or frame a control sits on; null for a control on the form itself.
inline Control* ParentControlOf(const Control& control) {
    return dynamic_cast<Control*>(&control.Parent());
}

}  // namespace glimra::win32
