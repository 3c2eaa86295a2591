// Check tool for the sample pictures: loads a picture file the way Windows programs
// commonly do (OleLoadPicture) and saves what it shows as a 24-bit BMP, so the vector
// samples can be looked at on any machine.
//   x86_64-w64-mingw32-g++-posix -municode -static -O2 -o render-picture.exe
//       render-picture.cpp -lole32 -loleaut32 -luuid -lgdi32
//   wine render-picture.exe picture.wmf preview.bmp [scale [margin]]
// With a margin the picture is drawn that many pixels in from the edges of a black canvas,
// which shows whether anything is drawn outside the picture's own rectangle.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: render-picture in out.bmp [scale [margin]]\n");
        return 2;
    }
    const double scale = argc > 3 ? _wtof(argv[3]) : 1.0;
    const int margin = argc > 4 ? _wtoi(argv[4]) : 0;
    FILE* f = _wfopen(argv[1], L"rb");
    if (!f) return 3;
    std::vector<char> data;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        data.insert(data.end(), buf, buf + n);
    fclose(f);

    CoInitialize(nullptr);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, data.size());
    memcpy(GlobalLock(mem), data.data(), data.size());
    GlobalUnlock(mem);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(mem, TRUE, &stream);
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(data.size()), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || !picture) {
        std::fwprintf(stderr, L"OleLoadPicture failed: 0x%08lx\n", hr);
        return 4;
    }
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    picture->get_Width(&hw);
    picture->get_Height(&hh);
    SHORT type = 0;
    picture->get_Type(&type);
    const int pw = static_cast<int>(hw * 96.0 / 2540 * scale + 0.5);
    const int ph = static_cast<int>(hh * 96.0 / 2540 * scale + 0.5);
    std::fwprintf(stdout, L"type %d, %ld x %ld himetric, %d x %d px\n", type, hw, hh, pw, ph);
    const int w = pw + 2 * margin;
    const int h = ph + 2 * margin;

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(margin ? BLACK_BRUSH : GRAY_BRUSH)));
    hr = picture->Render(dc, margin, margin, pw, ph, 0, hh, hw, -hh, nullptr);
    if (FAILED(hr)) std::fwprintf(stderr, L"Render failed: 0x%08lx\n", hr);
    GdiFlush();

    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * h;
    FILE* o = _wfopen(argv[2], L"wb");
    if (!o) return 5;
    fwrite(&fh, sizeof fh, 1, o);
    fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, o);
    fwrite(bits, 1, static_cast<size_t>(stride) * h, o);
    fclose(o);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    picture->Release();
    stream->Release();
    return SUCCEEDED(hr) ? 0 : 6;
}
