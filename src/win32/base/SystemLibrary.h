#pragma once

#include "win32/base/Windows.h"

namespace glimra::win32 {

// A function of a system DLL that is not one of the system's known DLLs, loaded from the
// system folder at its first use, or null. The program imports no such DLL: the loader would
// look for it first in the program's own folder, where anyone may have put a DLL of that name.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace glimra::win32
