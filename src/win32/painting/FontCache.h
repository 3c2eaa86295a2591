#pragma once

#include <utility>
#include <vector>

#include "controls/Style.h"
#include "win32/base/Scoped.h"

namespace glimra::win32 {

// The fonts of a window at its resolution, made once each and kept until the resolution
// changes.
class FontCache {
  public:
    HFONT Get(const Font& font, int dpi);
    // Deletes the fonts made for other resolutions, once no window uses them any more.
    void KeepOnly(int dpi) {
        std::erase_if(fonts_, [dpi](const Entry& entry) { return entry.dpi != dpi; });
    }

  private:
    struct Entry {
        Font font;
        int dpi;
        ScopedFont handle;
    };
    std::vector<Entry> fonts_;
};

}  // namespace glimra::win32
