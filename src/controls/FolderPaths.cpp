// Folder paths and drive texts read and written, and names put in the lists' order.
#include "controls/FolderPaths.h"

#include <algorithm>
#include <cwctype>

namespace glimra {

namespace detail {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c + (L'a' - L'A'));
        } else if (c > 0x7F) {
            c = static_cast<wchar_t>(std::towlower(c));
        }
    }
    return text;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return Lower(a) == Lower(b);
}

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

bool IsDriveText(const std::wstring& text) {
    return text.size() >= 2 && text[1] == L':' && (text.size() == 2 || text[2] == L' ');
}

std::pair<std::wstring, std::vector<std::wstring>> SplitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    std::wstring root;
    if (path.size() >= 2 && path[1] == L':') {
        root = path.substr(0, 2) + L"\\";
        start = 3;
    } else {
        const size_t share = path.find(L'\\', path.find(L'\\', 2) + 1);
        root = share == std::wstring::npos ? path + L"\\" : path.substr(0, share + 1);
        start = root.size();
    }
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return {root, parts};
}

}  // namespace detail

std::optional<wchar_t> DriveLetterOf(const std::wstring& text) {
    if (text.empty() || !std::iswalpha(text[0]) || text[0] > 0x7F) return std::nullopt;
    if (text.size() > 1 && text[1] != L':') return std::nullopt;
    return static_cast<wchar_t>(std::towupper(text[0]));
}

std::optional<std::wstring> FolderPathOf(const std::wstring& text) {
    std::wstring path = detail::Trimmed(text);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    const bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
    const bool drive = path.size() >= 2 && path[1] == L':' && DriveLetterOf(path).has_value();
    if (!unc && !drive) return std::nullopt;
    if (drive && path.size() > 2 && path[2] != L'\\') return std::nullopt;  // "C:relative"
    std::wstring clean = unc ? L"\\\\" : std::wstring(1, *DriveLetterOf(path)) + L":";
    for (size_t i = unc ? 2 : 2; i < path.size(); ++i) {
        if (path[i] == L'\\' && !clean.empty() && clean.back() == L'\\' && clean.size() > 2)
            continue;
        clean += path[i];
    }
    if (drive && clean.size() == 2) clean += L'\\';
    if (clean.size() > 3 && clean.back() == L'\\') clean.pop_back();
    return clean;
}

std::wstring DriveText(wchar_t letter, const std::wstring& label) {
    std::wstring text(1, static_cast<wchar_t>(std::towlower(letter)));
    text += L':';
    if (!label.empty()) text += L" [" + label + L"]";
    return text;
}

std::vector<std::wstring> SortedByName(std::vector<std::wstring> names) {
    // Each name is lower-cased once; equal names end up side by side, so one pass drops the
    // repeats.
    std::vector<std::pair<std::wstring, std::wstring>> keyed;
    keyed.reserve(names.size());
    for (std::wstring& name : names)
        keyed.emplace_back(detail::Lower(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed) {
        if (names.empty() || names.back() != name) names.push_back(std::move(name));
    }
    return names;
}

}  // namespace glimra
