#pragma once

#include <string>

namespace glimra {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Message boxes the user must answer: the text, the caption and the buttons, no icon, owned
// by the dialog so that they stay in front of it.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(const std::wstring& text, const std::wstring& caption,
                               MessageButtons buttons) = 0;
};

}  // namespace glimra
