// The folder list and the file list: each reads its folder only when first asked after a change.
#include "controls/FolderLists.h"

#include <iterator>

#include "platform/Wildcard.h"

namespace glimra {

FolderError DirListBox::SetPath(const std::wstring& text) {
    const std::wstring before = s_.path;
    const FolderError error = Open(text);
    if (error == FolderError::None && !detail::SamePath(before, s_.path)) Raise(Change);
    return error;
}

FolderError DirListBox::Open(const std::wstring& text) {
    std::optional<std::wstring> path;
    if (detail::IsDriveText(text)) {
        if (const auto letter = DriveLetterOf(text))
            path = FolderPathOf(files_.CurrentFolderOf(*letter));
    } else {
        path = FolderPathOf(text);
    }
    if (!path) return FolderError::NotFound;
    const FolderError error = files_.CheckFolder(*path);
    if (error != FolderError::None) return error;
    Show(*path);
    return FolderError::None;
}

// The current folder is the last of the open entries, one per level of its path.
void DirListBox::Show(const std::wstring& path) {
    entries_.Forget();
    s_.path = path;
    s_.index = static_cast<int>(detail::SplitPath(path).second.size());
    Changed();
}

const std::vector<FolderEntry>& DirListBox::Entries() const {
    return entries_.Get([this] { return ReadEntries(); });
}

std::vector<FolderEntry> DirListBox::ReadEntries() const {
    std::vector<FolderEntry> entries;
    if (s_.path.empty()) return entries;
    auto [root, names] = detail::SplitPath(s_.path);
    std::wstring walked = root;
    entries.push_back({detail::Lower(root), root, 0, true});
    for (const std::wstring& name : names) {
        walked = *FolderPathOf(walked + L"\\" + name);
        entries.push_back({name, walked, static_cast<int>(entries.size()), true});
    }
    // A folder that can no longer be read shows the way to it and nothing below.
    std::vector<std::wstring> subfolders;
    if (files_.SubFolders(s_.path, subfolders) != FolderError::None) subfolders.clear();
    const int level = static_cast<int>(entries.size());
    for (const std::wstring& name : SortedByName(std::move(subfolders)))
        entries.push_back({name, *FolderPathOf(s_.path + L"\\" + name), level, false});
    return entries;
}

void DirListBox::PlatformClick(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= static_cast<int>(Entries().size())) return;
    Assign(s_.index, index);
    Raise(Click);
}

void DirListBox::PlatformDblClick(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= static_cast<int>(Entries().size())) return;
    SetPath(Entries()[static_cast<size_t>(index)].path);
}

// A list that starts on a folder has not changed to it: no Change. The program's current
// folder is there; it is read only if the list is.
void DirListBox::FormLoading() {
    if (const auto path = FolderPathOf(files_.CurrentFolder())) Show(*path);
}

void DirListBox::RestoreDesign() {
    ControlWith::RestoreDesign();
    entries_.Forget();
}

// ---- file list

FolderError FileListBox::SetPath(const std::wstring& text) {
    const std::optional<std::wstring> path = FolderPathOf(text);
    if (!path) return FolderError::NotFound;
    const FolderError error = files_.CheckFolder(*path);
    if (error != FolderError::None) return error;
    s_.path = *path;
    Outdated();
    return FolderError::None;
}

void FileListBox::SetPattern(const std::wstring& pattern) {
    s_.pattern = pattern;
    Outdated();
}

void FileListBox::Outdated() {
    listed_.Forget();
    s_.index = -1;
    Changed();  // the path or pattern is part of what the list shows
}

const std::vector<std::wstring>& FileListBox::Files() const {
    return listed_.Get([this] { return ReadFiles(); });
}

std::vector<std::wstring> FileListBox::ReadFiles() const {
    std::vector<std::wstring> patterns;
    size_t start = 0;
    while (start <= s_.pattern.size()) {
        size_t end = s_.pattern.find(L';', start);
        if (end == std::wstring::npos) end = s_.pattern.size();
        if (std::wstring one = detail::Trimmed(s_.pattern.substr(start, end - start)); !one.empty())
            patterns.push_back(one == L"*.*" ? L"*" : one);
        start = end + 1;
    }
    if (s_.path.empty() || patterns.empty()) return {};
    const std::wstring folder = s_.path.back() == L'\\' ? s_.path : s_.path + L"\\";
    std::vector<std::wstring> files;
    for (auto& group : files_.FilesMatching(folder, patterns))
        files.insert(files.end(), std::make_move_iterator(group.begin()),
                     std::make_move_iterator(group.end()));
    return SortedByName(std::move(files));
}

void FileListBox::PlatformClick(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= ListCount()) return;
    Assign(s_.index, index);
    Raise(Click);
}

void FileListBox::PlatformDblClick(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= ListCount()) return;
    Assign(s_.index, index);
    Raise(DblClick);
}

// The program's current folder is there; it is listed only if the list is read.
void FileListBox::FormLoading() {
    if (const auto path = FolderPathOf(files_.CurrentFolder())) s_.path = *path;
    listed_.Forget();
}

void FileListBox::RestoreDesign() {
    ControlWith::RestoreDesign();
    listed_.Forget();
}

}  // namespace glimra
