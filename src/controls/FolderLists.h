#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "platform/FileSystem.h"

namespace glimra {

// The full form of a folder path as the folder lists keep it: backslashes, the drive letter
// in upper case, no doubled separators and no trailing backslash except on a root ("C:\").
// Nothing when the text names no drive or share.
std::optional<std::wstring> FolderPathOf(const std::wstring& text);

// The drive letter a text starts with ("d:\Photos", "d: [Data]", "d"), upper case; nothing
// when it starts with none.
std::optional<wchar_t> DriveLetterOf(const std::wstring& text);

// How the drive list names a drive: "c: [System]", or "c:" when it has no label.
std::wstring DriveText(const DriveInfo& drive);

// The drive list: the machine's drives, one of them selected. Assigning a text selects the
// drive named at its start; every change of the selection raises Change at once.
struct DriveListState {
    std::vector<DriveInfo> drives;
    int index = -1;
};

class DriveListBox : public ControlWith<DriveListState> {
  public:
    DriveListBox(Container& parent, std::wstring name, FileSystem& files)
        : ControlWith(parent, ControlKind::DriveList, std::move(name)), files_(files) {}

    // The selected drive's text; empty when none is selected.
    std::wstring Drive() const;
    std::vector<std::wstring> List() const;
    int ListIndex() const { return s_.index; }
    // False, and nothing changes, when no drive of the machine is named at the start.
    bool SetDrive(const std::wstring& text);
    void PlatformSelect(int index);

    std::function<void()> Change;

    void FormLoading() override;

  private:
    int IndexOf(wchar_t letter) const;
    FileSystem& files_;
};

// One line of the folder list: the folders from the root down to the current one are open,
// the current one's sub-folders are closed and indented one level deeper.
struct FolderEntry {
    std::wstring text;
    std::wstring path;
    int level = 0;
    bool open = false;

    bool operator==(const FolderEntry&) const = default;
};

// The folder list: the path from the drive's root to the current folder and its sub-folders.
// A single click highlights an entry and raises Click; a double click makes it the current
// folder. Every change of the current folder raises Change at once.
struct DirListState {
    std::wstring path;
    std::vector<FolderEntry> entries;
    int index = -1;
};

class DirListBox : public ControlWith<DirListState> {
  public:
    DirListBox(Container& parent, std::wstring name, FileSystem& files)
        : ControlWith(parent, ControlKind::DirList, std::move(name)), files_(files) {}

    const std::wstring& Path() const { return s_.path; }
    // A folder path, or a drive's text, which stands for that drive's current folder. A
    // folder that cannot be read is refused: the list keeps its folder and says why.
    FolderError SetPath(const std::wstring& text);
    const std::vector<FolderEntry>& Entries() const { return s_.entries; }
    int ListIndex() const { return s_.index; }
    void PlatformClick(int index);
    void PlatformDblClick(int index);

    std::function<void()> Change;

    void FormLoading() override;

  private:
    // Goes to a folder without raising Change.
    FolderError Open(const std::wstring& text);
    FileSystem& files_;
};

// The file list: the files of one folder whose names match any of the patterns (separated by
// semicolons, blanks around them ignored), in name order, letter case ignored.
struct FileListState {
    std::wstring path;
    std::wstring pattern = L"*.*";
    std::vector<std::wstring> files;
    int index = -1;
};

class FileListBox : public ControlWith<FileListState> {
  public:
    FileListBox(Container& parent, std::wstring name, FileSystem& files)
        : ControlWith(parent, ControlKind::FileList, std::move(name)), files_(files) {}

    const std::wstring& Path() const { return s_.path; }
    FolderError SetPath(const std::wstring& text);
    const std::wstring& Pattern() const { return s_.pattern; }
    void SetPattern(const std::wstring& pattern);
    const std::vector<std::wstring>& Files() const { return s_.files; }
    int ListCount() const { return static_cast<int>(s_.files.size()); }
    int ListIndex() const { return s_.index; }
    void PlatformClick(int index);
    void PlatformDblClick(int index);

    void FormLoading() override;

  private:
    void Refresh();
    FileSystem& files_;
};

}  // namespace glimra
