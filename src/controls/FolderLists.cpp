#include "controls/FolderLists.h"

#include <algorithm>
#include <cwctype>
#include <iterator>

#include "platform/Wildcard.h"

namespace glimra {
namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c + (L'a' - L'A'));
        } else if (c > 0x7F) {
            c = static_cast<wchar_t>(std::towlower(c));
        }
    }
    return text;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return Lower(a) == Lower(b);
}

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// Only a drive's own text ("d:", "d: [Data]") stands for its current folder; "d:\" is its root.
bool IsDriveText(const std::wstring& text) {
    return text.size() >= 2 && text[1] == L':' && (text.size() == 2 || text[2] == L' ');
}

// The root of a path ("C:\" or "\\server\share\") and the names below it.
std::pair<std::wstring, std::vector<std::wstring>> SplitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    std::wstring root;
    if (path.size() >= 2 && path[1] == L':') {
        root = path.substr(0, 2) + L"\\";
        start = 3;
    } else {
        const size_t share = path.find(L'\\', path.find(L'\\', 2) + 1);
        root = share == std::wstring::npos ? path + L"\\" : path.substr(0, share + 1);
        start = root.size();
    }
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return {root, parts};
}

}  // namespace

std::optional<wchar_t> DriveLetterOf(const std::wstring& text) {
    if (text.empty() || !std::iswalpha(text[0]) || text[0] > 0x7F) return std::nullopt;
    if (text.size() > 1 && text[1] != L':') return std::nullopt;
    return static_cast<wchar_t>(std::towupper(text[0]));
}

std::optional<std::wstring> FolderPathOf(const std::wstring& text) {
    std::wstring path = Trimmed(text);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    const bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
    const bool drive = path.size() >= 2 && path[1] == L':' && DriveLetterOf(path).has_value();
    if (!unc && !drive) return std::nullopt;
    if (drive && path.size() > 2 && path[2] != L'\\') return std::nullopt;  // "C:relative"
    std::wstring clean = unc ? L"\\\\" : std::wstring(1, *DriveLetterOf(path)) + L":";
    for (size_t i = unc ? 2 : 2; i < path.size(); ++i) {
        if (path[i] == L'\\' && !clean.empty() && clean.back() == L'\\' && clean.size() > 2)
            continue;
        clean += path[i];
    }
    if (drive && clean.size() == 2) clean += L'\\';
    if (clean.size() > 3 && clean.back() == L'\\') clean.pop_back();
    return clean;
}

std::wstring DriveText(wchar_t letter, const std::wstring& label) {
    std::wstring text(1, static_cast<wchar_t>(std::towlower(letter)));
    text += L':';
    if (!label.empty()) text += L" [" + label + L"]";
    return text;
}

std::vector<std::wstring> SortedByName(std::vector<std::wstring> names) {
    // Each name is lower-cased once; equal names end up side by side, so one pass drops the
    // repeats.
    std::vector<std::pair<std::wstring, std::wstring>> keyed;
    keyed.reserve(names.size());
    for (std::wstring& name : names)
        keyed.emplace_back(Lower(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed) {
        if (names.empty() || names.back() != name) names.push_back(std::move(name));
    }
    return names;
}

// ---- drive list

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

// ---- folder list

FolderError DirListBox::SetPath(const std::wstring& text) {
    const std::wstring before = s_.path;
    const FolderError error = Open(text);
    if (error == FolderError::None && !SamePath(before, s_.path)) Raise(Change);
    return error;
}

FolderError DirListBox::Open(const std::wstring& text) {
    std::optional<std::wstring> path;
    if (IsDriveText(text)) {
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
    s_.index = static_cast<int>(SplitPath(path).second.size());
    Changed();
}

const std::vector<FolderEntry>& DirListBox::Entries() const {
    return entries_.Get([this] { return ReadEntries(); });
}

std::vector<FolderEntry> DirListBox::ReadEntries() const {
    std::vector<FolderEntry> entries;
    if (s_.path.empty()) return entries;
    auto [root, names] = SplitPath(s_.path);
    std::wstring walked = root;
    entries.push_back({Lower(root), root, 0, true});
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
        if (std::wstring one = Trimmed(s_.pattern.substr(start, end - start)); !one.empty())
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
