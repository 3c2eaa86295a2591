#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Picture.h"
#include "win32/pictures/ShowTarget.h"

namespace glimra::win32 {

// Reads a whole file, with every kind of sharing allowed (a picture open in another program
// still reads), into the memory `storage` gives for its size. False when the file cannot be
// read, is empty or larger than `limit`, or `storage` gives no memory.
bool ReadWholeFile(const std::wstring& path, std::uint64_t limit,
                   const std::function<std::uint8_t*(size_t size)>& storage);

// A 64-bit digest of the bytes, to tell a changed file from an unchanged one.
std::uint64_t ContentDigest(const std::uint8_t* data, size_t size);

// The picture loaded last and the file it came from: loading the same file again, unchanged,
// for the same place on the screen, gives the same picture without decoding it again.
struct LastLoaded {
    std::wstring path;
    size_t size = 0;
    std::uint64_t digest = 0;
    ShowTarget::Size shownAt{};
    PicturePtr picture;

    PicturePtr Again(const std::wstring& file, size_t bytes, std::uint64_t contents,
                     ShowTarget::Size at) const {
        const bool same = path == file && size == bytes && digest == contents && shownAt == at;
        return same ? picture : nullptr;
    }
};

}  // namespace glimra::win32
