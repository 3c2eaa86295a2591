#pragma once

#include <string>

namespace glimra {

// The desktop shell: opens a document or a web address in the application the user's system
// associates with it (normally the web browser), in a normal window. Nothing waits for the
// application, and a target that cannot be opened is not reported.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void Open(const std::wstring& target) = 0;
};

}  // namespace glimra
