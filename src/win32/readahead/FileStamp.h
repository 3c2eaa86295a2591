#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glimra::win32 {

// What tells one state of a file from another without reading it: which file it is (volume
// and file index, so a file replaced under the same name differs), its size and its last
// write time.
struct FileStamp {
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::uint64_t written = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path`, or nothing when it cannot be opened.
std::optional<FileStamp> StampOf(const std::wstring& path);

}  // namespace glimra::win32
