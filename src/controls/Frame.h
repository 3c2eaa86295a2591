#pragma once

#include <string>

#include "controls/Control.h"

namespace glimra {

// A captioned frame around a group of controls, which sit on it.
struct FrameState {
    std::wstring caption;
};

class Frame : public ControlWith<FrameState, ContainerControl> {
  public:
    explicit Frame(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::Frame, std::move(name)) {}

    const std::wstring& Caption() const { return s_.caption; }
    void SetCaption(const std::wstring& caption) { Assign(s_.caption, caption); }
};

}  // namespace glimra
