#pragma once

#include <optional>
#include <string>

namespace glimra {

// The values an administrator sets for the program, by key. Read-only: the program never
// writes a policy.
class PolicySource {
  public:
    virtual ~PolicySource() = default;
    // Nothing when the administrator did not set the value. A value that is set but cannot be
    // read as text reads as the empty text, as an unreadable value of the user's does.
    virtual std::optional<std::wstring> Read(const std::wstring& key) = 0;
};

}  // namespace glimra
