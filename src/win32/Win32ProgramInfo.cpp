#include "win32/Win32ProgramInfo.h"

#include <cstdint>
#include <vector>

namespace glimra::win32 {

std::wstring ArgumentsOf(const std::wstring& commandLine) {
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        i = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t')
            ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t'))
        ++i;
    return commandLine.substr(i);
}

std::wstring Win32ProgramInfo::ArgumentText() {
    return ArgumentsOf(GetCommandLineW());
}

bool Win32ProgramInfo::AnotherInstanceRunning() {
    // "Local\" keeps the name per user session; the handle stays open for the whole run.
    instanceMutex_.Reset(CreateMutexW(nullptr, FALSE, L"Local\\Glimra.ScreenSaver.Instance"));
    return instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace glimra::win32

namespace glimra::win32 {
namespace {

std::wstring VersionString(const std::vector<std::uint8_t>& block, const wchar_t* name) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return {};
    wchar_t path[64];
    wsprintfW(path, L"\\StringFileInfo\\%04x%04x\\%s", translations[0].language,
              translations[0].codePage, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size) || !value)
        return {};
    return std::wstring(value, wcsnlen(value, size));
}

}  // namespace

ProgramDetails Win32ProgramInfo::Details() {
    ProgramDetails details;
    std::wstring file(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
        if (length < file.size()) {
            file.resize(length);
            break;
        }
        file.resize(file.size() * 2);
    }
    details.folder = file.substr(0, file.find_last_of(L'\\'));
    DWORD unused = 0;
    std::vector<std::uint8_t> block(GetFileVersionInfoSizeW(file.c_str(), &unused));
    if (block.empty() ||
        !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        return details;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) && fixed) {
        // The file version 1.00.0203 is kept as 1,0,0,203: its revision is the fourth number.
        details.major = HIWORD(fixed->dwFileVersionMS);
        details.minor = LOWORD(fixed->dwFileVersionMS);
        details.revision = LOWORD(fixed->dwFileVersionLS);
    }
    details.productName = VersionString(block, L"ProductName");
    details.description = VersionString(block, L"Comments");
    return details;
}

}  // namespace glimra::win32
