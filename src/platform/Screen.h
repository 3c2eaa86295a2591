#pragma once

namespace glimra {

// The screen the program's windows appear on, measured in twips (1/1440 inch).
class Screen {
  public:
    virtual ~Screen() = default;
    virtual float TwipsPerPixelX() = 0;
    virtual float TwipsPerPixelY() = 0;
    virtual float Width() = 0;
    virtual float Height() = 0;
};

}  // namespace glimra
