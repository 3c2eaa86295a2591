#pragma once

#include "platform/FileSystem.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The file system through FindFirstFileExW. The platform's own wildcard matching also
// matches 8.3 short names ("x.jpeg" is "X~1.JPG"), so the folder is listed in full once and
// the patterns are matched here against the long names only.
class Win32FileSystem : public FileSystem {
  public:
    std::vector<std::vector<std::wstring>> FilesMatching(
        const std::wstring& folder, const std::vector<std::wstring>& patterns) override;
    std::vector<wchar_t> DriveLetters() override;
    std::wstring DriveLabel(wchar_t driveLetter) override;
    FolderError CheckFolder(const std::wstring& folder) override;
    FolderError SubFolders(const std::wstring& folder, std::vector<std::wstring>& names) override;
    std::wstring CurrentFolderOf(wchar_t driveLetter) override;
    std::wstring CurrentFolder() override;
};

// How a failure to read a folder shows to the user: every way Windows has of saying that a
// device or network path cannot be reached is "unavailable", anything else "not found".
FolderError FolderErrorOf(DWORD error);

}  // namespace glimra::win32
