// The drive list: the machine's drives, their labels asked for only when shown.
#include "controls/DriveList.h"

#include <algorithm>

#include "controls/FolderPaths.h"

namespace glimra {

std::wstring DriveListBox::TextOf(wchar_t letter) const {
    auto label = labels_.find(letter);
    if (label == labels_.end()) label = labels_.emplace(letter, files_.DriveLabel(letter)).first;
    return DriveText(letter, label->second);
}

std::wstring DriveListBox::Drive() const {
    if (s_.index < 0 || s_.index >= static_cast<int>(s_.letters.size())) return {};
    return TextOf(s_.letters[static_cast<size_t>(s_.index)]);
}

std::vector<std::wstring> DriveListBox::List() const {
    std::vector<std::wstring> texts;
    for (const wchar_t letter : s_.letters)
        texts.push_back(TextOf(letter));
    return texts;
}

int DriveListBox::IndexOf(wchar_t letter) const {
    const auto found = std::find(s_.letters.begin(), s_.letters.end(), letter);
    return found == s_.letters.end() ? -1 : static_cast<int>(found - s_.letters.begin());
}

bool DriveListBox::SetDrive(const std::wstring& text) {
    const std::optional<wchar_t> letter = DriveLetterOf(text);
    if (!letter) return false;
    int index = IndexOf(*letter);
    if (index < 0) {
        // A drive may have been added since the list was filled.
        Assign(s_.letters, files_.DriveLetters());
        index = IndexOf(*letter);
        if (index < 0) return false;
    }
    if (index == s_.index) return true;
    Assign(s_.index, index);
    Raise(Change);
    return true;
}

void DriveListBox::PlatformSelect(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= static_cast<int>(s_.letters.size())) return;
    SetDrive(std::wstring(1, s_.letters[static_cast<size_t>(index)]) + L":");
}

void DriveListBox::FormLoading() {
    labels_.clear();
    s_.letters = files_.DriveLetters();
    s_.index = -1;
    if (const auto letter = DriveLetterOf(files_.CurrentFolder())) s_.index = IndexOf(*letter);
}

}  // namespace glimra
