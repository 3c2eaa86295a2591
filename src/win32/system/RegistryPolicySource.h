#pragma once

#include <optional>
#include <string>
#include <utility>

#include "settings/PolicySource.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The policies an administrator sets for the program: values under
// Software\Policies\Glimra\ScreenSaver, in HKEY_LOCAL_MACHINE for the machine and in
// HKEY_CURRENT_USER for the user. Group Policy writes them there from the administrative
// templates (policy/Glimra.admx), which name the same key and values.
class RegistryPolicySource : public PolicySource {
  public:
    static constexpr const wchar_t* kKeyPath = L"Software\\Policies\\Glimra\\ScreenSaver";

    explicit RegistryPolicySource(HKEY root, std::wstring keyPath = kKeyPath)
        : root_(root), keyPath_(std::move(keyPath)) {}

    std::optional<std::wstring> Read(const std::wstring& key) override;

  private:
    HKEY root_;
    std::wstring keyPath_;
};

}  // namespace glimra::win32
