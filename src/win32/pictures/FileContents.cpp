#include "win32/pictures/FileContents.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "win32/base/LongPath.h"
#include "win32/base/Scoped.h"

namespace glimra::win32 {

bool ReadWholeFile(const std::wstring& path, std::uint64_t limit,
                   const std::function<std::uint8_t*(size_t size)>& storage) {
    ScopedHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > limit) {
        return false;
    }
    const auto total = static_cast<size_t>(size.QuadPart);
    std::uint8_t* out = storage(total);
    if (!out) return false;
    size_t done = 0;
    while (done < total) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(total - done, 1u << 30));
        if (!ReadFile(file.Get(), out + done, want, &got, nullptr) || got == 0) return false;
        done += got;
    }
    return true;
}

std::uint64_t ContentDigest(const std::uint8_t* data, size_t size) {
    // Eight bytes at a time, each word mixed in by multiply and rotate: reading the file
    // costs more than this.
    std::uint64_t digest = 0x9E3779B97F4A7C15ull ^ size;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        digest = std::rotl((digest ^ word) * 0xFF51AFD7ED558CCDull, 29);
    }
    for (; i < size; ++i)
        digest = std::rotl((digest ^ data[i]) * 0xC4CEB9FE1A85EC53ull, 7);
    return digest;
}

}  // namespace glimra::win32
