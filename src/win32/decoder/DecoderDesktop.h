#pragma once

#include <string>

#include "win32/base/Scoped.h"
#include "win32/decoder/DecoderLadder.h"

namespace glimra::win32 {

inline void CloseDesktopHandle(HDESK desktop) {
    CloseDesktop(desktop);
}
using ScopedDesktop = Scoped<HDESK, CloseDesktopHandle>;

// A desktop of the decoder's own, on the program's window station: no window of the user's
// desktop can be found or messaged from it. It lives while the program holds it.
struct DecoderDesktop {
    ScopedDesktop desktop;
    std::wstring name;  // as a start names it: "station\desktop"
};

// A new desktop, labelled with the integrity `levels` names so that a decoder of that
// integrity can use it; none when the system refuses one.
DecoderDesktop MakeDecoderDesktop(DecoderLevels levels);

}  // namespace glimra::win32
