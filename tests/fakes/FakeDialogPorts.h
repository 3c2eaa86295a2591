#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/ProgramDetails.h"
#include "platform/Shell.h"

namespace glimra::fakes {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    MessageButtons buttons;
};

// Records every box and answers with the scripted answers in turn; once they run out, an OK
// box is answered Ok and a question No.
class FakeMessageBoxes : public MessageBoxes {
  public:
    MessageAnswer Show(const std::wstring& text, const std::wstring& caption,
                       MessageButtons buttons) override {
        shown.push_back({text, caption, buttons});
        if (next < answers.size()) return answers[next++];
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }

    std::vector<ShownMessage> shown;
    std::vector<MessageAnswer> answers;
    size_t next = 0;
};

class FakeShell : public Shell {
  public:
    void Open(const std::wstring& target) override { opened.push_back(target); }
    std::vector<std::wstring> opened;
};

// The details of a program installed in a folder of its own, as the release carries them.
inline ProgramDetails InstalledProgramDetails(std::wstring folder = L"C:\\Program Files\\Glimra") {
    return {std::move(folder),
            1,
            0,
            203,
            L"Glimra ScreenSaver",
            L"Glimra ScreenSaver is a free Windows screen saver that cycles through the images, "
            L"pictures, photographs and icons of a folder you choose and shows them one at a "
            L"time: .bmp .gif .jpg .jpeg .wmf .emf .ico"};
}

}  // namespace glimra::fakes
