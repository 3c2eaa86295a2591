#pragma once

#include <functional>
#include <utility>

#include "controls/Control.h"

namespace glimra::win32 {

// Whether the user's colour scheme is a high-contrast one. The program asks the system; a
// test says so itself, as the test platform always answers no.
using HighContrastQuery = std::function<bool()>;

// The system's answer now.
bool SystemHighContrast();

// The colours the windowless controls are drawn in. With high contrast off, the design's:
// its system colours follow the user's scheme, its fixed ones stay. With it on, a text, rule
// or border over the system's face takes the system's colour for what it is (a text, a link,
// the link under the pointer), so nothing the design fixed can vanish into the user's face
// colour. Over a ground the design fixes itself (the slide show's black) its colours stay:
// they were chosen with that ground.
class SchemeColors {
  public:
    explicit SchemeColors(HighContrastQuery query) : query_(std::move(query)) {}

    // Asks again: when the window is made, and whenever the system says its scheme changed.
    void Refresh() { highContrast_ = query_ && query_(); }
    bool HighContrast() const { return highContrast_; }

    // The colour `control` draws its text, rule or border in, `design` over `ground`.
    Color InkOf(const Control& control, Color design, Color ground) const;

  private:
    HighContrastQuery query_;
    bool highContrast_ = false;
};

}  // namespace glimra::win32
