#pragma once

#include "platform/FileSystem.h"

namespace glimra::win32 {

// The file system through FindFirstFileExW. The platform's own wildcard matching also
// matches 8.3 short names ("x.jpeg" is "X~1.JPG"), so the folder is listed in full once and
// the patterns are matched here against the long names only.
class Win32FileSystem : public FileSystem {
  public:
    std::vector<std::vector<std::wstring>> FilesMatching(
        const std::wstring& folder, const std::vector<std::wstring>& patterns) override;
};

}  // namespace glimra::win32
