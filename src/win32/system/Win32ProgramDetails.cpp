#include "win32/system/Win32ProgramDetails.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <winver.h>

#include "win32/base/SystemLibrary.h"

namespace glimra::win32 {

namespace {

BOOL QueryValue(const std::vector<BYTE>& block, const wchar_t* query, void** value, UINT* length) {
    static const auto verQueryValue =
        SystemFunction<decltype(VerQueryValueW)>(L"version.dll", "VerQueryValueW");
    return verQueryValue && verQueryValue(block.data(), query, value, length);
}

std::wstring QueryText(const std::vector<BYTE>& block, const std::wstring& query) {
    void* text = nullptr;
    UINT length = 0;
    if (!QueryValue(block, query.c_str(), &text, &length) || length == 0) return {};
    // The length counts the terminating null; some resource compilers leave it out.
    std::wstring value(static_cast<const wchar_t*>(text), length);
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    return value;
}

// "\StringFileInfo\<language><code page>\" of the first translation the resource lists,
// U.S. English in Unicode when it lists none.
std::wstring StringTablePath(const std::vector<BYTE>& block) {
    void* pairs = nullptr;
    UINT length = 0;
    WORD language = 0x0409, codePage = 1200;
    if (QueryValue(block, L"\\VarFileInfo\\Translation", &pairs, &length) &&
        length >= 2 * sizeof(WORD)) {
        const WORD* pair = static_cast<const WORD*>(pairs);
        language = pair[0];
        codePage = pair[1];
    }
    wchar_t path[40];
    std::swprintf(path, 40, L"\\StringFileInfo\\%04x%04x\\", language, codePage);
    return path;
}

}  // namespace

std::wstring ModuleFile(HMODULE module) {
    // The name is cut short without a word when the buffer is too small: grow until it fits.
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) return std::wstring(name.data(), length);
        if (name.size() >= 32768) return {};
        name.resize(name.size() * 2);
    }
}

std::wstring ModuleFolder(HMODULE module) {
    const std::wstring path = ModuleFile(module);
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

ProgramDetails VersionDetails(HMODULE module) {
    ProgramDetails details;
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* resource = loaded ? LockResource(loaded) : nullptr;
    if (!resource) return details;
    // The query works on a writable copy with as much room again behind it, the form
    // GetFileVersionInfoW hands out; the module's own pages are read-only.
    const DWORD size = SizeofResource(module, found);
    std::vector<BYTE> block(2 * static_cast<size_t>(size));
    std::memcpy(block.data(), resource, size);

    void* fixed = nullptr;
    UINT length = 0;
    if (QueryValue(block, L"\\", &fixed, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        if (info->dwSignature == VS_FFI_SIGNATURE) {
            // File version 1,0,0,203: the third number is not used.
            details.major = HIWORD(info->dwFileVersionMS);
            details.minor = LOWORD(info->dwFileVersionMS);
            details.revision = LOWORD(info->dwFileVersionLS);
        }
    }
    const std::wstring table = StringTablePath(block);
    details.productName = QueryText(block, table + L"ProductName");
    details.description = QueryText(block, table + L"Comments");
    return details;
}

ProgramDetails ReadProgramDetails() {
    const HMODULE program = GetModuleHandleW(nullptr);
    ProgramDetails details = VersionDetails(program);
    details.folder = ModuleFolder(program);
    return details;
}

}  // namespace glimra::win32
