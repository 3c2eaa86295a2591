#include "controls/FolderLists.h"

#include <algorithm>
#include <cwctype>

#include "platform/Wildcard.h"

namespace glimra {
namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return Lower(a) == Lower(b);
}

void SortByName(std::vector<std::wstring>& names) {
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        const std::wstring la = Lower(a), lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
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

std::wstring DriveText(const DriveInfo& drive) {
    std::wstring text(1, static_cast<wchar_t>(std::towlower(drive.letter)));
    text += L':';
    if (!drive.label.empty()) text += L" [" + drive.label + L"]";
    return text;
}

// ---- drive list

std::wstring DriveListBox::Drive() const {
    if (s_.index < 0 || s_.index >= static_cast<int>(s_.drives.size())) return {};
    return DriveText(s_.drives[static_cast<size_t>(s_.index)]);
}

std::vector<std::wstring> DriveListBox::List() const {
    std::vector<std::wstring> texts;
    for (const DriveInfo& drive : s_.drives)
        texts.push_back(DriveText(drive));
    return texts;
}

int DriveListBox::IndexOf(wchar_t letter) const {
    for (size_t i = 0; i < s_.drives.size(); ++i) {
        if (s_.drives[i].letter == letter) return static_cast<int>(i);
    }
    return -1;
}

bool DriveListBox::SetDrive(const std::wstring& text) {
    const std::optional<wchar_t> letter = DriveLetterOf(text);
    if (!letter) return false;
    int index = IndexOf(*letter);
    if (index < 0) {
        // A drive may have been added since the list was filled.
        Assign(s_.drives, files_.Drives());
        index = IndexOf(*letter);
        if (index < 0) return false;
    }
    if (index == s_.index) return true;
    Assign(s_.index, index);
    Raise(Change);
    return true;
}

void DriveListBox::PlatformSelect(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= static_cast<int>(s_.drives.size())) return;
    SetDrive(DriveText(s_.drives[static_cast<size_t>(index)]));
}

void DriveListBox::FormLoading() {
    s_.drives = files_.Drives();
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
    std::vector<std::wstring> subfolders;
    const FolderError error = files_.SubFolders(*path, subfolders);
    if (error != FolderError::None) return error;
    SortByName(subfolders);

    auto [root, names] = SplitPath(*path);
    std::vector<FolderEntry> entries;
    std::wstring walked = root;
    entries.push_back({Lower(root), root, 0, true});
    for (const std::wstring& name : names) {
        walked = *FolderPathOf(walked + L"\\" + name);
        entries.push_back({name, walked, static_cast<int>(entries.size()), true});
    }
    const int current = static_cast<int>(entries.size()) - 1;
    for (const std::wstring& name : subfolders) {
        entries.push_back({name, *FolderPathOf(*path + L"\\" + name), current + 1, false});
    }
    Assign(s_.entries, entries);
    Assign(s_.index, current);
    Assign(s_.path, *path);
    return FolderError::None;
}

void DirListBox::PlatformClick(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= static_cast<int>(s_.entries.size())) return;
    Assign(s_.index, index);
    Raise(Click);
}

void DirListBox::PlatformDblClick(int index) {
    if (!EffectiveEnabled() || index < 0 || index >= static_cast<int>(s_.entries.size())) return;
    SetPath(s_.entries[static_cast<size_t>(index)].path);
}

// A list that starts on a folder has not changed to it: no Change.
void DirListBox::FormLoading() {
    Open(files_.CurrentFolder());
}

// ---- file list

FolderError FileListBox::SetPath(const std::wstring& text) {
    const std::optional<std::wstring> path = FolderPathOf(text);
    if (!path) return FolderError::NotFound;
    std::vector<std::wstring> unused;
    const FolderError error = files_.SubFolders(*path, unused);
    if (error != FolderError::None) return error;
    s_.path = *path;
    Refresh();
    return FolderError::None;
}

void FileListBox::SetPattern(const std::wstring& pattern) {
    s_.pattern = pattern;
    Refresh();
}

void FileListBox::Refresh() {
    std::vector<std::wstring> patterns;
    size_t start = 0;
    while (start <= s_.pattern.size()) {
        size_t end = s_.pattern.find(L';', start);
        if (end == std::wstring::npos) end = s_.pattern.size();
        if (std::wstring one = Trimmed(s_.pattern.substr(start, end - start)); !one.empty())
            patterns.push_back(one == L"*.*" ? L"*" : one);
        start = end + 1;
    }
    std::vector<std::wstring> files;
    if (!s_.path.empty() && !patterns.empty()) {
        const std::wstring folder = s_.path.back() == L'\\' ? s_.path : s_.path + L"\\";
        for (const auto& group : files_.FilesMatching(folder, patterns)) {
            for (const std::wstring& name : group) {
                if (std::find(files.begin(), files.end(), name) == files.end())
                    files.push_back(name);
            }
        }
    }
    SortByName(files);
    Assign(s_.index, -1);
    Assign(s_.files, files);
    Changed();  // the path or pattern is part of what the list shows
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

void FileListBox::FormLoading() {
    SetPath(files_.CurrentFolder());
}

}  // namespace glimra
