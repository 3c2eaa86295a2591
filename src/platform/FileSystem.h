#pragma once

#include <string>
#include <vector>

namespace glimra {

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
};

}  // namespace glimra
