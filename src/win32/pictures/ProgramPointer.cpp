#include "win32/pictures/ProgramPointer.h"

namespace glimra::win32 {

ScopedCursor CursorFromIcon(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return ScopedCursor();
    ScopedBitmap mask(info.hbmMask), colour(info.hbmColor);
    BITMAP bitmap{};
    GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
    info.fIcon = FALSE;
    info.xHotspot = static_cast<DWORD>(bitmap.bmWidth / 2);
    info.yHotspot = static_cast<DWORD>((info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2) / 2);
    return ScopedCursor(CreateIconIndirect(&info));
}

}  // namespace glimra::win32
