#include "win32/painting/KeptSurface.h"

#include "imaging/PictureFit.h"
#include "win32/painting/ColorRef.h"
#include "win32/pictures/Pictures.h"

namespace glimra::win32 {

void KeptSurface::Render(HWND hwnd, const Form& form, int dpi) {
    RECT client;
    GetClientRect(hwnd, &client);
    const bool sameSize = surface_.Width() == client.right && surface_.Height() == client.bottom;
    if (renderedOnce_ && sameSize && rendered_ == form.Surface()) return;
    if (!surface_.Resize(client.right, client.bottom)) return;
    ScopedBrush back(CreateSolidBrush(ColorRefOf(form.Design().backColor)));
    FillRect(surface_.Dc(), &client, back.Get());
    const float twipsPerPixel = 1440.0f / static_cast<float>(dpi);
    for (const DrawnPicture& drawn : form.Surface()) {
        const PixelRect to = PixelsOf({drawn.left, drawn.top, drawn.width, drawn.height},
                                      twipsPerPixel, twipsPerPixel);
        const RECT dest{to.left, to.top, to.right, to.bottom};
        // Only pictures of this platform can be drawn here; anything else is left out.
        if (const auto* picture = dynamic_cast<const Win32Picture*>(drawn.picture.get()))
            picture->Draw(surface_, dest);
    }
    GdiFlush();
    rendered_ = form.Surface();
    renderedOnce_ = true;
}

void KeptSurface::Paint(HWND hwnd, HDC dc, const RECT& area, const Form& form, int dpi,
                        WindowlessLayer& windowless) {
    Render(hwnd, form, dpi);
    if (!frame_.Resize(surface_.Width(), surface_.Height())) return;
    const int width = area.right - area.left, height = area.bottom - area.top;
    BitBlt(frame_.Dc(), area.left, area.top, width, height, surface_.Dc(), area.left, area.top,
           SRCCOPY);
    windowless.Paint(frame_.Dc(), frame_, form);
    BitBlt(dc, area.left, area.top, width, height, frame_.Dc(), area.left, area.top, SRCCOPY);
}

void KeptSurface::Release() {
    surface_.Release();
    frame_.Release();
    containerFrame_.Release();
    rendered_.clear();
    renderedOnce_ = false;
}

}  // namespace glimra::win32
