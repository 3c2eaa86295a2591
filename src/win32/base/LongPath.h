#pragma once

#include <string>

namespace glimra::win32 {

// A path the file functions accept whatever its length: a fully qualified path that reaches
// the classic 260-character limit gets the extended-length prefix ("\\?\" or "\\?\UNC\").
// Shorter and relative paths are left as they are, so they keep their usual meaning.
std::wstring LongPath(const std::wstring& path);

}  // namespace glimra::win32
