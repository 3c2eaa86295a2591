#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace glimra::win32 {

// Reads a whole file, with every kind of sharing allowed (a picture open in another program
// still reads), into the memory `storage` gives for its size. False when the file cannot be
// read, is empty or larger than `limit`, or `storage` gives no memory.
bool ReadWholeFile(const std::wstring& path, std::uint64_t limit,
                   const std::function<std::uint8_t*(size_t size)>& storage);

// A 64-bit digest of the bytes, to tell a changed file from an unchanged one.
std::uint64_t ContentDigest(const std::uint8_t* data, size_t size);

}  // namespace glimra::win32
