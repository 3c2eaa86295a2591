#include "screensaver/ImageList.h"

namespace glimra {

std::wstring WithTrailingBackslash(const std::wstring& folder) {
    if (!folder.empty() && folder.back() == L'\\') return folder;
    return folder + L'\\';
}

namespace {

// The seven picture patterns, in the order in which their files are listed.
const std::vector<std::wstring> kImagePatterns = {L"*.jpg", L"*.jpeg", L"*.bmp", L"*.gif",
                                                  L"*.ico", L"*.wmf",  L"*.emf"};

std::wstring ListEntry(const std::wstring& folder, const std::wstring& name) {
    std::wstring entry;
    entry.reserve(folder.size() + name.size());
    for (const std::wstring* part : {&folder, &name}) {
        for (wchar_t c : *part) {
            if (c != L'\r' && c != L'\n') entry.push_back(c);
        }
    }
    const size_t first = entry.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return entry.substr(first, entry.find_last_not_of(L' ') - first + 1);
}

}  // namespace

std::vector<std::wstring> ListImageFiles(FileSystem& files, const std::wstring& folder) {
    std::vector<std::wstring> list;
    for (const std::vector<std::wstring>& group : files.FilesMatching(folder, kImagePatterns)) {
        for (const std::wstring& name : group)
            list.push_back(ListEntry(folder, name));
    }
    return list;
}

}  // namespace glimra
