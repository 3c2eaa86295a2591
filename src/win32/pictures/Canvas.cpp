#include "win32/pictures/Canvas.h"

namespace glimra::win32 {

bool Canvas::Resize(int width, int height) {
    if (bitmap_ && width == width_ && height == height_) return true;
    return Resize(width, height, nullptr);
}

bool Canvas::Resize(int width, int height, HANDLE section) {
    Release();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, section, 0));
    ScopedDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) return false;
    oldBitmap_ = SelectObject(dc.Get(), bitmap.Get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void Canvas::Release() {
    if (dc_ && oldBitmap_) SelectObject(dc_.Get(), oldBitmap_);
    oldBitmap_ = nullptr;
    dc_.Reset();
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

}  // namespace glimra::win32
