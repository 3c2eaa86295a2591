#pragma once

namespace glimra {

// The mouse pointer's display count: every hide must be undone by one show.
class Pointer {
  public:
    virtual ~Pointer() = default;
    virtual void ShowCursor(bool show) = 0;
};

}  // namespace glimra
