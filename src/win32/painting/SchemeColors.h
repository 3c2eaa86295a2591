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

// The colours the windowless controls are drawn in. A fixed colour of the design that would
// not stand out of the user's face colour (below 3:1) gives way to the system's colour for
// what it is: the hot-track colour for a link, the text colour for a text or a border; in the
// default scheme every one of them stands out, and stays the design's. With high contrast on,
// a text, rule or border over the system's face takes the system's colour, of a pair the
// system promises to keep apart. Over a ground the design fixes itself (the slide show's
// black) its colours stay: they were chosen with that ground.
class SchemeColors {
  public:
    explicit SchemeColors(HighContrastQuery query) : query_(std::move(query)) {}

    // Asks again: when the window is made, and whenever the system says its scheme changed.
    void Refresh() { highContrast_ = query_ && query_(); }
    bool HighContrast() const { return highContrast_; }

    // The ground a text of `control` stands on, over its container's `ground`: with high
    // contrast on, a link has one of its own, the window's at rest and the highlight's under
    // the pointer, the grounds the system's link and highlight colours are meant for.
    Color TextGroundOf(const Control& control, Color ground) const;
    // The colour `control` draws its text, rule or border in, `design` over `ground`.
    Color InkOf(const Control& control, Color design, Color ground) const;

  private:
    HighContrastQuery query_;
    bool highContrast_ = false;
};

}  // namespace glimra::win32
