#pragma once

#include <string>

#include "settings/SettingsStore.h"

namespace glimra::win32 {

// The settings as REG_SZ values under HKEY_CURRENT_USER\Software\VB and VBA Program
// Settings\<application>\<section>: the per-user area of the platform's classic application
// settings, so that values stored by earlier releases are read unchanged.
class RegistrySettingsStore : public SettingsStore {
  public:
    RegistrySettingsStore(const std::wstring& application, const std::wstring& section);

    std::wstring Read(const std::wstring& key) override;
    bool Write(const std::wstring& key, const std::wstring& value) override;

    const std::wstring& KeyPath() const { return keyPath_; }

  private:
    std::wstring keyPath_;
};

}  // namespace glimra::win32
