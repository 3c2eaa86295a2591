#pragma once

#include <type_traits>
#include <utility>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// Owns one platform handle and releases it with Close when it goes. Kernel handles that come
// back as INVALID_HANDLE_VALUE are held as null, so null always means "none".
template <typename Handle, auto Close>
class Scoped {
  public:
    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(Valid(handle)) {}
    Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~Scoped() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void Reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Close(handle_);
        handle_ = Valid(handle);
    }

  private:
    static Handle Valid(Handle handle) {
        if constexpr (std::is_same_v<Handle, HANDLE>) {
            if (handle == INVALID_HANDLE_VALUE) return nullptr;
        }
        return handle;
    }
    Handle handle_{};
};

inline void CloseFile(HANDLE h) {
    CloseHandle(h);
}
inline void CloseFind(HANDLE h) {
    FindClose(h);
}
inline void CloseKey(HKEY k) {
    RegCloseKey(k);
}
inline void DeleteGdiObject(HGDIOBJ o) {
    DeleteObject(o);
}
inline void DeleteMemoryDc(HDC dc) {
    DeleteDC(dc);
}
inline void DeleteEmf(HENHMETAFILE m) {
    DeleteEnhMetaFile(m);
}
inline void DeleteWmf(HMETAFILE m) {
    DeleteMetaFile(m);
}
inline void DestroyCursorHandle(HCURSOR c) {
    DestroyCursor(c);
}
inline void DestroyIconHandle(HICON i) {
    DestroyIcon(i);
}

using ScopedHandle = Scoped<HANDLE, CloseFile>;
using ScopedFind = Scoped<HANDLE, CloseFind>;
using ScopedKey = Scoped<HKEY, CloseKey>;
using ScopedBitmap = Scoped<HBITMAP, DeleteGdiObject>;
using ScopedFont = Scoped<HFONT, DeleteGdiObject>;
using ScopedBrush = Scoped<HBRUSH, DeleteGdiObject>;
using ScopedPen = Scoped<HPEN, DeleteGdiObject>;
using ScopedDc = Scoped<HDC, DeleteMemoryDc>;
using ScopedEmf = Scoped<HENHMETAFILE, DeleteEmf>;
using ScopedWmf = Scoped<HMETAFILE, DeleteWmf>;
using ScopedCursor = Scoped<HCURSOR, DestroyCursorHandle>;
using ScopedIcon = Scoped<HICON, DestroyIconHandle>;

// Selects an object into a DC for one scope.
class SelectIn {
  public:
    SelectIn(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectIn(const SelectIn&) = delete;
    SelectIn& operator=(const SelectIn&) = delete;
    ~SelectIn() { SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace glimra::win32
