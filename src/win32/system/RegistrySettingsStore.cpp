#include "win32/system/RegistrySettingsStore.h"

#include "win32/base/Scoped.h"
#include "win32/system/RegistryText.h"

namespace glimra::win32 {

RegistrySettingsStore::RegistrySettingsStore(const std::wstring& application,
                                             const std::wstring& section)
    : keyPath_(L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section) {}

std::wstring RegistrySettingsStore::Read(const std::wstring& key) {
    return ReadRegistryText(HKEY_CURRENT_USER, keyPath_, key).value_or(L"");
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
