#pragma once

// Where the newest release can be downloaded: a release build sets it.
#ifndef GLIMRA_DOWNLOAD_ADDRESS
#define GLIMRA_DOWNLOAD_ADDRESS L"https://glimra.example.org/download/Glimra.zip"
#endif

namespace glimra {
inline constexpr const wchar_t* kDownloadAddress = GLIMRA_DOWNLOAD_ADDRESS;
}  // namespace glimra
