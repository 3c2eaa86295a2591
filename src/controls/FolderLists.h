// The folder and file list controls, with the drive list and the folder texts they share.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "controls/DriveList.h"
#include "controls/FolderPaths.h"
#include "platform/FileSystem.h"

namespace glimra {

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
