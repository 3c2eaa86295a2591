#pragma once

#include <optional>
#include <string>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// Longer values are not settings this program or an administrator wrote.
inline constexpr size_t kMaxRegistryTextChars = 32767;

// A value under root\path read as text: nothing when the key or the value is absent; the
// empty text when it is there but is no REG_SZ value or is longer than the limit.
std::optional<std::wstring> ReadRegistryText(HKEY root, const std::wstring& path,
                                             const std::wstring& name);

}  // namespace glimra::win32
