#include "win32/decoder/SharedSection.h"

namespace glimra::win32 {

std::unique_ptr<SharedSection> SharedSection::Create(size_t bytes) {
    if (bytes == 0) return nullptr;
    const auto size = static_cast<std::uint64_t>(bytes);
    ScopedHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                            static_cast<DWORD>(size >> 32),
                                            static_cast<DWORD>(size), nullptr));
    if (!section) return nullptr;
    void* view = MapViewOfFile(section.Get(), FILE_MAP_WRITE, 0, 0, bytes);
    if (!view) return nullptr;
    return std::unique_ptr<SharedSection>(
        new SharedSection(std::move(section), static_cast<std::uint8_t*>(view), bytes));
}

SharedSection::~SharedSection() {
    UnmapViewOfFile(view_);
}

}  // namespace glimra::win32
