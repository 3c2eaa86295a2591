#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace glimra {

// `folder` with a backslash at its end ("" gives "\", the root of the current drive).
std::wstring WithTrailingBackslash(const std::wstring& folder);

// The full path names of the pictures in `folder` (which ends in a backslash): every "*.jpg"
// file, then every "*.jpeg" file and so on, each group in the folder's own order. Each entry
// is the folder text followed by the file name, without line breaks and without blanks at
// either end. The folder is enumerated once for all seven patterns.
std::vector<std::wstring> ListImageFiles(FileSystem& files, const std::wstring& folder);

}  // namespace glimra
