#pragma once

#include <string>

#include "controls/Control.h"

namespace glimra {

// A one-line text the user can edit. Typing updates the text without echoing it back.
struct TextBoxState {
    std::wstring text;
};

class TextBox : public ControlWith<TextBoxState> {
  public:
    explicit TextBox(Container& parent, std::wstring name = {})
        : ControlWith(parent, ControlKind::TextBox, std::move(name)) {}

    const std::wstring& Text() const { return s_.text; }
    void SetText(const std::wstring& text) { Assign(s_.text, text); }
    void PlatformTextChanged(const std::wstring& text) { s_.text = text; }
};

}  // namespace glimra
