#include "win32/Win32FileSystem.h"

#include "platform/Wildcard.h"
#include "win32/LongPath.h"
#include "win32/Scoped.h"

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
