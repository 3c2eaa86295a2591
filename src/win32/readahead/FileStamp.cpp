#include "win32/readahead/FileStamp.h"

#include "win32/base/LongPath.h"
#include "win32/base/Scoped.h"

namespace glimra::win32 {

std::optional<FileStamp> StampOf(const std::wstring& path) {
    // No access to the contents is asked for, so a file open elsewhere is stamped too.
    ScopedHandle file(CreateFileW(LongPath(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    const auto join = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
    return FileStamp{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                     join(info.nFileSizeHigh, info.nFileSizeLow),
                     join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
}

}  // namespace glimra::win32
