#pragma once

#include <string>

#include "win32/base/LongPath.h"
#include "win32/base/Windows.h"

namespace glimra::win32::testing {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    explicit TempFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        RemoveTree(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(path_); }

    // The folder, ending in a backslash.
    const std::wstring& Path() const { return path_; }

    // Creates a file with the given contents and attributes; returns its full path.
    std::wstring AddFile(const std::wstring& name, const std::string& contents = "x",
                         DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        const std::wstring full = path_ + name;
        HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
        CloseHandle(file);
        if (attributes != FILE_ATTRIBUTE_NORMAL) SetFileAttributesW(full.c_str(), attributes);
        return full;
    }

    std::wstring AddFolder(const std::wstring& name) const {
        const std::wstring full = path_ + name + L"\\";
        CreateDirectoryW(full.c_str(), nullptr);
        return full;
    }

    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(LongPath(folder + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + name;
                SetFileAttributesW(LongPath(full).c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full + L"\\");
                } else {
                    DeleteFileW(LongPath(full).c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(LongPath(folder).c_str());
    }

  private:
    std::wstring path_;
};

}  // namespace glimra::win32::testing
