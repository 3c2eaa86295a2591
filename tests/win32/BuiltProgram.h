#pragma once

#include <string>

#include "win32/base/Windows.h"

namespace glimra::win32::testing {

// Glimra.scr, built next to the test program, loaded for its resources only.
class BuiltProgram {
  public:
    static std::wstring Path() {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring path = self;
        return path.substr(0, path.find_last_of(L'\\') + 1) + L"Glimra.scr";
    }

    BuiltProgram()
        : module_(LoadLibraryExW(Path().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~BuiltProgram() {
        if (module_) FreeLibrary(module_);
    }
    BuiltProgram(const BuiltProgram&) = delete;
    BuiltProgram& operator=(const BuiltProgram&) = delete;

    HMODULE Resources() const { return module_; }

  private:
    HMODULE module_;
};

}  // namespace glimra::win32::testing
