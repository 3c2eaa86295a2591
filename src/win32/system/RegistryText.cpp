#include "win32/system/RegistryText.h"

#include "win32/base/Scoped.h"

namespace glimra::win32 {

std::optional<std::wstring> ReadRegistryText(HKEY root, const std::wstring& path,
                                             const std::wstring& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    ScopedKey key(opened);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_SZ || bytes > (kMaxRegistryTextChars + 1) * sizeof(wchar_t)) return L"";
    // One spare character, so that a value stored without its terminating zero still ends.
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = bytes;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &got) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return L"";
    }
    text.resize(got / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

}  // namespace glimra::win32
