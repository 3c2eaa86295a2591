#include "win32/system/RegistrySettingsStore.h"

#include "win32/base/Scoped.h"

namespace glimra::win32 {

RegistrySettingsStore::RegistrySettingsStore(const std::wstring& application,
                                             const std::wstring& section)
    : keyPath_(L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section) {}

std::wstring RegistrySettingsStore::Read(const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS) {
        return {};
    }
    ScopedKey settings(opened);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(settings.Get(), key.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ || bytes > (kMaxValueChars + 1) * sizeof(wchar_t)) {
        return {};
    }
    // One spare character, so that a value stored without its terminating zero still ends.
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = bytes;
    if (RegQueryValueExW(settings.Get(), key.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &got) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    text.resize(got / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

bool RegistrySettingsStore::Write(const std::wstring& key, const std::wstring& value) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    ScopedKey settings(created);
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(settings.Get(), key.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace glimra::win32
