#pragma once

#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace glimra {

// The file system as the dialog's three lists see it. While the dialog points them all at one
// folder, that folder is checked once, not once per list: on a disk that sleeps or a share
// that has gone away, each check can keep the window waiting.
class FolderCheckedOnce : public FileSystem {
  public:
    explicit FolderCheckedOnce(FileSystem& files) : files_(files) {}

    // For as long as it lives, a folder checked again gets its first answer.
    class Remembering {
      public:
        explicit Remembering(FolderCheckedOnce& files) : files_(files) { ++files_.remembering_; }
        Remembering(const Remembering&) = delete;
        Remembering& operator=(const Remembering&) = delete;
        ~Remembering() {
            if (--files_.remembering_ == 0) files_.answers_.clear();
        }

      private:
        FolderCheckedOnce& files_;
    };

    FolderError CheckFolder(const std::wstring& folder) override {
        if (remembering_ == 0) return files_.CheckFolder(folder);
        const std::wstring key = Key(folder);
        const auto known = answers_.find(key);
        if (known != answers_.end()) return known->second;
        const FolderError answer = files_.CheckFolder(folder);
        answers_[key] = answer;
        return answer;
    }

    std::vector<std::vector<std::wstring>> FilesMatching(
        const std::wstring& folder, const std::vector<std::wstring>& patterns) override {
        return files_.FilesMatching(folder, patterns);
    }
    std::vector<wchar_t> DriveLetters() override { return files_.DriveLetters(); }
    std::wstring DriveLabel(wchar_t driveLetter) override { return files_.DriveLabel(driveLetter); }
    FolderError SubFolders(const std::wstring& folder, std::vector<std::wstring>& names) override {
        return files_.SubFolders(folder, names);
    }
    std::wstring CurrentFolderOf(wchar_t driveLetter) override {
        return files_.CurrentFolderOf(driveLetter);
    }
    std::wstring CurrentFolder() override { return files_.CurrentFolder(); }

  private:
    // One folder however it is written: letter case and a closing backslash aside.
    static std::wstring Key(std::wstring folder) {
        while (folder.size() > 3 && folder.back() == L'\\')
            folder.pop_back();
        for (wchar_t& c : folder)
            c = static_cast<wchar_t>(std::towlower(c));
        return folder;
    }

    FileSystem& files_;
    int remembering_ = 0;
    std::map<std::wstring, FolderError> answers_;
};

}  // namespace glimra
