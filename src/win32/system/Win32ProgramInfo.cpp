#include "win32/system/Win32ProgramInfo.h"

#include "win32/system/Win32ProgramDetails.h"

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

ProgramDetails Win32ProgramInfo::Details() {
    return ReadProgramDetails();
}

}  // namespace glimra::win32
