// The texts of folders and drives as the folder lists read and show them, and their name order.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace glimra {

// The full form of a folder path as the folder lists keep it: backslashes, the drive letter
// in upper case, no doubled separators and no trailing backslash except on a root ("C:\").
// Nothing when the text names no drive or share.
std::optional<std::wstring> FolderPathOf(const std::wstring& text);

// The drive letter a text starts with ("d:\Photos", "d: [Data]", "d"), upper case; nothing
// when it starts with none.
std::optional<wchar_t> DriveLetterOf(const std::wstring& text);

// How the drive list names a drive: "c: [System]", or "c:" when it has no label.
std::wstring DriveText(wchar_t letter, const std::wstring& label);

// Names in the order the file and folder lists show them: by name with letter case ignored,
// names that differ only in case in code order, each name once.
std::vector<std::wstring> SortedByName(std::vector<std::wstring> names);

// What the folder and file lists share of the texts above.
namespace detail {

// Letter case folded as the lists compare names.
std::wstring Lower(std::wstring text);
// Two full paths of one folder: letter case ignored.
bool SamePath(const std::wstring& a, const std::wstring& b);
// Without the blanks at either end.
std::wstring Trimmed(const std::wstring& text);
// Only a drive's own text ("d:", "d: [Data]") stands for its current folder; "d:\" is its root.
bool IsDriveText(const std::wstring& text);
// The root of a path ("C:\" or "\\server\share\") and the names below it.
std::pair<std::wstring, std::vector<std::wstring>> SplitPath(const std::wstring& path);

}  // namespace detail

}  // namespace glimra
