#include "win32/system/Win32FileSystem.h"

#include <winnetwk.h>

#include "platform/Wildcard.h"
#include "win32/base/LongPath.h"
#include "win32/base/Scoped.h"
#include "win32/base/SystemLibrary.h"

namespace glimra::win32 {

std::vector<std::vector<std::wstring>> Win32FileSystem::FilesMatching(
    const std::wstring& folder, const std::vector<std::wstring>& patterns) {
    std::vector<std::vector<std::wstring>> groups(patterns.size());
    WIN32_FIND_DATAW found;
    ScopedFind search(FindFirstFileExW(LongPath(folder + L"*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return groups;
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (found.dwFileAttributes & kNotOrdinary) continue;
        for (size_t i = 0; i < patterns.size(); ++i) {
            if (MatchesPattern(found.cFileName, patterns[i])) groups[i].push_back(found.cFileName);
        }
    } while (FindNextFileW(search.Get(), &found));
    // An enumeration that fails part-way keeps the names found before the failure.
    return groups;
}

}  // namespace glimra::win32

namespace glimra::win32 {
namespace {

// Asking a drive without its medium about itself must not make Windows ask the user.
class NoCriticalErrorBoxes {
  public:
    NoCriticalErrorBoxes() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_); }
    ~NoCriticalErrorBoxes() { SetThreadErrorMode(old_, nullptr); }

  private:
    DWORD old_ = 0;
};

}  // namespace

FolderError FolderErrorOf(DWORD error) {
    switch (error) {
        case ERROR_NOT_READY:
        case ERROR_NO_MEDIA_IN_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETNAME_DELETED:
        case ERROR_NETWORK_UNREACHABLE:
        case ERROR_HOST_UNREACHABLE:
        case ERROR_NOT_CONNECTED:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_UNEXP_NET_ERR:
        case ERROR_BAD_UNIT:
        case ERROR_CONNECTION_UNAVAIL:
        case ERROR_NO_NET_OR_BAD_PATH:
        case ERROR_REM_NOT_LIST:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_BAD_DEVICE:
        case ERROR_DEVICE_NOT_CONNECTED:
            return FolderError::DeviceUnavailable;
        default:
            return FolderError::NotFound;
    }
}

std::vector<wchar_t> Win32FileSystem::DriveLetters() {
    std::vector<wchar_t> letters;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (1u << i)) letters.push_back(static_cast<wchar_t>(L'A' + i));
    }
    return letters;
}

std::wstring Win32FileSystem::DriveLabel(wchar_t driveLetter) {
    NoCriticalErrorBoxes quiet;
    const wchar_t root[] = {driveLetter, L':', L'\\', 0};
    switch (GetDriveTypeW(root)) {
        case DRIVE_FIXED: {
            wchar_t label[MAX_PATH + 1] = {};
            if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                       nullptr, 0))
                return {};
            return label;
        }
        case DRIVE_REMOTE: {
            // The share the drive is mapped to, as the redirector remembers it: the server
            // is not asked, so a share that has gone away answers at once.
            const wchar_t drive[] = {driveLetter, L':', 0};
            wchar_t share[MAX_PATH * 2] = {};
            DWORD length = MAX_PATH * 2;
            static const auto getConnection =
                SystemFunction<decltype(WNetGetConnectionW)>(L"mpr.dll", "WNetGetConnectionW");
            if (!getConnection) return {};
            const DWORD result = getConnection(drive, share, &length);
            return result == NO_ERROR || result == ERROR_CONNECTION_UNAVAIL ? share : L"";
        }
        default:
            // Removable and optical drives, RAM disks: asking them could spin up a disk or
            // wait for a medium.
            return {};
    }
}

FolderError Win32FileSystem::CheckFolder(const std::wstring& folder) {
    NoCriticalErrorBoxes quiet;
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
    const DWORD attributes = GetFileAttributesW(LongPath(base).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FolderErrorOf(GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FolderError::NotFound;
    // A folder that may not be listed is refused too. Opening it for listing asks exactly
    // that, and reads no entry: a search would (Wine reads the whole folder at its first).
    ScopedHandle opened(CreateFileW(LongPath(base).c_str(), FILE_LIST_DIRECTORY,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return opened ? FolderError::None : FolderErrorOf(GetLastError());
}

FolderError Win32FileSystem::SubFolders(const std::wstring& folder,
                                        std::vector<std::wstring>& names) {
    // The search itself says why a folder cannot be listed; the caller has checked it already.
    NoCriticalErrorBoxes quiet;
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
    WIN32_FIND_DATAW found;
    ScopedFind search(FindFirstFileExW(LongPath(base + L"*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchLimitToDirectories, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH));
    names.clear();
    if (!search) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? FolderError::None : FolderErrorOf(error);
    }
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..")
            continue;
        names.push_back(name);
    } while (FindNextFileW(search.Get(), &found));
    return FolderError::None;
}

std::wstring Win32FileSystem::CurrentFolderOf(wchar_t driveLetter) {
    // "D:" alone resolves to the current folder the process keeps for that drive.
    const wchar_t drive[] = {driveLetter, L':', 0};
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameW(drive, MAX_PATH * 4, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 4) return std::wstring(drive) + L"\\";
    return full;
}

std::wstring Win32FileSystem::CurrentFolder() {
    wchar_t folder[MAX_PATH * 4] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, folder);
    return length && length < MAX_PATH * 4 ? folder : L"C:\\";
}

}  // namespace glimra::win32
