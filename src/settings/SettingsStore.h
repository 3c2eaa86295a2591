#pragma once

#include <string>

namespace glimra {

// The per-user store of the program's settings: text values by key, all under one application
// name and one section.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text; the empty text when the value is absent or unreadable.
    virtual std::wstring Read(const std::wstring& key) = 0;
    // Stores the text, creating what is needed. False when it could not be stored.
    virtual bool Write(const std::wstring& key, const std::wstring& value) = 0;
    // An administrator's policy sets the value: Read gives the policy's text, and the user's
    // own value, whatever it is, is not the one in use.
    virtual bool SetByPolicy(const std::wstring& /*key*/) { return false; }
};

}  // namespace glimra
