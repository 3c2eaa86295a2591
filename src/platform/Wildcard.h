#pragma once

#include <string_view>

namespace glimra {

// True when `name` matches `pattern`, where '*' stands for any run of characters and '?' for
// one character; letters match whatever their case.
bool MatchesPattern(std::wstring_view name, std::wstring_view pattern);

}  // namespace glimra
