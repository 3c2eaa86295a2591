#pragma once

#include <algorithm>
#include <vector>

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

// The controls on a container in tab order, the order their windows are made in, which is the
// platform's tab order.
inline std::vector<Control*> InTabOrder(const Container& container) {
    std::vector<Control*> children = container.Children();
    std::stable_sort(children.begin(), children.end(), [](const Control* a, const Control* b) {
        return a->TabIndex() < b->TabIndex();
    });
    return children;
}

}  // namespace glimra::win32
