#pragma once

#include <string>

#include "controls/Control.h"

namespace glimra::win32 {

// A caption as it reads: the ampersand that marks an access key left out, "&&" as one "&".
std::wstring WithoutAccessKeys(const std::wstring& caption);

// The name assistive technology gives a control: what a sighted user reads for it. Buttons,
// check boxes and frames carry their captions, labels their text, images their tips. A text
// box or list, which shows no caption of its own, is named after the visible label in front
// of it on its line (with the one that follows it, when the box sits inside a sentence), or
// else the label just above it, or else the caption of the frame it sits on.
std::wstring AccessibleNameOf(const Control& control);

// What assistive technology adds to the name: the control's tip, unless it says the same.
std::wstring AccessibleDescriptionOf(const Control& control);

}  // namespace glimra::win32
