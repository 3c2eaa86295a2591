#pragma once

#include <string>

namespace glimra {

// The buttons a message box offers.
enum class MessageButtons { Ok, YesNo };

// The button that closed a message box, with the platform's own result codes (the dialog
// compares the answer to its question with Yes, 6). None: no box could be shown.
enum class MessageAnswer { None = 0, Ok = 1, Yes = 6, No = 7 };

// Message boxes owned by the options dialog: the given text and caption, no icon. They are
// modal to the program, so the dialog takes no input until the box is answered.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(const std::wstring& text, const std::wstring& caption,
                               MessageButtons buttons) = 0;
};

}  // namespace glimra
