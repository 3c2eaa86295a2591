#pragma once

#include "controls/Control.h"

namespace glimra {

// A one-pixel line from (X1, Y1) to (X2, Y2), drawn by its container.
struct LineState {
    Color color = kWindowText;
};

class Line : public ControlWith<LineState> {
  public:
    explicit Line(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::Line, std::move(name)) {}

    float X1() const { return Left(); }
    float Y1() const { return Top(); }
    float X2() const { return Left() + Width(); }
    float Y2() const { return Top() + Height(); }
    void SetEnds(float x1, float y1, float x2, float y2) { Move(x1, y1, x2 - x1, y2 - y1); }
    Color BorderColor() const { return s_.color; }
};

}  // namespace glimra
