#pragma once

#include <functional>
#include <map>
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
std::wstring DriveText(wchar_t letter, const std::wstring& label);

// Names in the order the file and folder lists show them: by name with letter case ignored,
// names that differ only in case in code order, each name once.
std::vector<std::wstring> SortedByName(std::vector<std::wstring> names);

// The drive list: the machine's drives, one of them selected. Assigning a text selects the
// drive named at its start; every change of the selection raises Change at once. A drive's
// label is asked for only when its text is read, once a load: a start that shows no drive list
// asks no drive but the selected one.
struct DriveListState {
    std::vector<wchar_t> letters;
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
    std::wstring TextOf(wchar_t letter) const;
    FileSystem& files_;
    mutable std::map<wchar_t, std::wstring> labels_;  // the labels asked for this load
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

// What the folder and file lists show, worked out from the disk when it is first read after a
// change and kept until the next: a list nobody reads (the hidden dialog's, at a slide-show
// start) never reads its folder, and one that is assigned three times is read once.
template <typename Item>
class ListedOnRead {
  public:
    template <typename Read>
    const std::vector<Item>& Get(Read read) const {
        if (!fresh_) {
            items_ = read();
            fresh_ = true;
        }
        return items_;
    }
    void Forget() {
        fresh_ = false;
        items_.clear();
    }

  private:
    mutable std::vector<Item> items_;
    mutable bool fresh_ = false;
};

// The folder list: the path from the drive's root to the current folder and its sub-folders.
// A single click highlights an entry and raises Click; a double click makes it the current
// folder. Every change of the current folder raises Change at once.
struct DirListState {
    std::wstring path;
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
    const std::vector<FolderEntry>& Entries() const;
    int ListIndex() const { return s_.index; }
    void PlatformClick(int index);
    void PlatformDblClick(int index);

    std::function<void()> Change;

    void FormLoading() override;
    void RestoreDesign() override;

  private:
    // Goes to a folder without raising Change.
    FolderError Open(const std::wstring& text);
    void Show(const std::wstring& path);
    std::vector<FolderEntry> ReadEntries() const;
    FileSystem& files_;
    ListedOnRead<FolderEntry> entries_;
};

// The file list: the files of one folder whose names match any of the patterns (separated by
// semicolons, blanks around them ignored), in name order, letter case ignored.
struct FileListState {
    std::wstring path;
    std::wstring pattern = L"*.*";
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
    const std::vector<std::wstring>& Files() const;
    int ListCount() const { return static_cast<int>(Files().size()); }
    int ListIndex() const { return s_.index; }
    void PlatformClick(int index);
    void PlatformDblClick(int index);

    void FormLoading() override;
    void RestoreDesign() override;

  private:
    // The path or the pattern changed: the list is read again when it is next read.
    void Outdated();
    std::vector<std::wstring> ReadFiles() const;
    FileSystem& files_;
    ListedOnRead<std::wstring> listed_;
};

}  // namespace glimra
