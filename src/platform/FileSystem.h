#pragma once

#include <string>
#include <vector>

namespace glimra {

// Why a folder could not be read: it is not there (or not a folder, or not readable), or the
// device it is on is unavailable (no medium, a network path that cannot be reached, a mapped
// drive that is disconnected).
enum class FolderError { None, NotFound, DeviceUnavailable };

// The folders and files of the machine, with Windows paths on every host.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The names of the ordinary files (not hidden, not system, not folders) directly in
    // `folder` (which ends in a backslash) that match each of `patterns`: one list per
    // pattern, in the order of `patterns`, each in the order the folder enumerates them.
    // Letter case is ignored. A folder that cannot be read gives empty lists.
    virtual std::vector<std::vector<std::wstring>> FilesMatching(
        const std::wstring& folder, const std::vector<std::wstring>& patterns) = 0;

    // The letters of the machine's drives (upper case, in letter order), known without
    // asking any drive about itself.
    virtual std::vector<wchar_t> DriveLetters() = 0;
    // What the drive list shows beside a drive's letter: a fixed local drive's volume label,
    // or the network share a mapped drive stands for; empty for any other drive, which is
    // never asked (a drive without its medium or a sleeping one could keep the caller waiting).
    virtual std::wstring DriveLabel(wchar_t driveLetter) = 0;
    // Whether a folder (a full path) is there and can be read, found without listing it.
    virtual FolderError CheckFolder(const std::wstring& folder) = 0;
    // The names of the folders directly in `folder` (a full path, "C:\" for a root), in any
    // order, or why it cannot be read.
    virtual FolderError SubFolders(const std::wstring& folder,
                                   std::vector<std::wstring>& names) = 0;
    // The current folder of a drive ("D:\Photos"), its root when it has none.
    virtual std::wstring CurrentFolderOf(wchar_t driveLetter) = 0;
    // The program's current folder, where the folder lists start.
    virtual std::wstring CurrentFolder() = 0;
};

}  // namespace glimra
