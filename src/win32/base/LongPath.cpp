#include "win32/base/LongPath.h"

namespace glimra::win32 {

std::wstring LongPath(const std::wstring& path) {
    constexpr size_t kClassicLimit = 260 - 12;  // room for a pattern such as "*.jpeg"
    if (path.size() < kClassicLimit || path.starts_with(L"\\\\?\\")) return path;
    const bool drive = path.size() > 2 && path[1] == L':' && path[2] == L'\\';
    if (drive) return L"\\\\?\\" + path;
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

}  // namespace glimra::win32
