#include "win32/TestPictures.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace glimra::win32::testing {
namespace {

void PutLe(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutBe(Bytes& out, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

COLORREF ColorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The four quadrants of width x height: left/top halves get the extra unit of odd sizes.
std::array<RECT, 4> QuadrantRects(int left, int top, int width, int height) {
    const int midX = left + (width + 1) / 2, midY = top + (height + 1) / 2;
    const int right = left + width, bottom = top + height;
    return {RECT{left, top, midX, midY}, RECT{midX, top, right, midY},
            RECT{left, midY, midX, bottom}, RECT{midX, midY, right, bottom}};
}

// Fills the quadrants on any DC, metafile DCs included, with brushes recorded as such.
void FillQuadrants(HDC dc, int left, int top, int width, int height, const Colors& colors) {
    const auto rects = QuadrantRects(left, top, width, height);
    for (size_t i = 0; i < rects.size(); ++i) {
        HBRUSH brush = CreateSolidBrush(ColorRef(colors[i]));
        HGDIOBJ old = SelectObject(dc, brush);
        const RECT& r = rects[i];
        PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
        SelectObject(dc, old);
        DeleteObject(brush);
    }
}

ComPtr<IWICImagingFactory> Factory() {
    ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                     IID_PPV_ARGS(&factory));
    return factory;
}

// 24-bit BGR rows, each padded to four bytes.
std::vector<std::uint8_t> Bgr24(const PixelBuffer& picture, UINT& stride) {
    stride = (static_cast<UINT>(picture.width) * 3 + 3) & ~3u;
    std::vector<std::uint8_t> bits(static_cast<size_t>(stride) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t p = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            std::uint8_t* at = bits.data() + static_cast<size_t>(y) * stride + x * 3;
            at[0] = static_cast<std::uint8_t>(p);
            at[1] = static_cast<std::uint8_t>(p >> 8);
            at[2] = static_cast<std::uint8_t>(p >> 16);
        }
    }
    return bits;
}

// Writes one frame; an indexed frame gets a palette of the picture's own colours.
bool WriteFrame(IWICImagingFactory* factory, IWICBitmapEncoder* encoder, const PixelBuffer& picture,
                bool jpeg, bool indexed) {
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(encoder->CreateNewFrame(&frame, &options))) return false;
    if (jpeg && options) {
        // High quality, so that colours stay near what was written.
        PROPBAG2 name{};
        name.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = 0.95f;
        options->Write(1, &name, &value);
    }
    const UINT width = static_cast<UINT>(picture.width), height = static_cast<UINT>(picture.height);
    WICPixelFormatGUID format =
        indexed ? GUID_WICPixelFormat8bppIndexed : GUID_WICPixelFormat24bppBGR;
    const WICPixelFormatGUID wanted = format;
    if (FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(width, height)) ||
        FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, wanted)) {
        return false;
    }
    if (indexed) {
        std::vector<WICColor> palette;
        std::vector<std::uint8_t> indices(picture.pixels.size());
        for (size_t i = 0; i < picture.pixels.size(); ++i) {
            const WICColor color = picture.pixels[i] | 0xFF000000u;
            auto found = std::find(palette.begin(), palette.end(), color);
            if (found == palette.end()) {
                if (palette.size() == 256) return false;
                found = palette.insert(palette.end(), color);
            }
            indices[i] = static_cast<std::uint8_t>(found - palette.begin());
        }
        while (palette.size() < 2)
            palette.push_back(0xFF000000u);
        ComPtr<IWICPalette> colors;
        if (FAILED(factory->CreatePalette(&colors)) ||
            FAILED(colors->InitializeCustom(palette.data(), static_cast<UINT>(palette.size()))) ||
            FAILED(frame->SetPalette(colors.Get())) ||
            FAILED(frame->WritePixels(height, width, static_cast<UINT>(indices.size()),
                                      indices.data()))) {
            return false;
        }
    } else {
        UINT stride = 0;
        std::vector<std::uint8_t> bits = Bgr24(picture, stride);
        if (FAILED(
                frame->WritePixels(height, stride, static_cast<UINT>(bits.size()), bits.data()))) {
            return false;
        }
    }
    return SUCCEEDED(frame->Commit());
}

Bytes Encode(const GUID& container, const std::vector<PixelBuffer>& frames) {
    ComPtr<IWICImagingFactory> factory = Factory();
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    if (!factory || frames.empty() || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(factory->CreateEncoder(container, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache))) {
        return {};
    }
    const bool jpeg = IsEqualGUID(container, GUID_ContainerFormatJpeg);
    const bool indexed = IsEqualGUID(container, GUID_ContainerFormatGif);
    for (const PixelBuffer& picture : frames) {
        if (!WriteFrame(factory.Get(), encoder.Get(), picture, jpeg, indexed)) return {};
    }
    if (FAILED(encoder->Commit())) return {};
    // The written length, not the memory block's, which may be larger.
    ULARGE_INTEGER end{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Seek({}, STREAM_SEEK_CUR, &end)) ||
        FAILED(GetHGlobalFromStream(stream.Get(), &memory))) {
        return {};
    }
    const auto* bits = static_cast<const std::uint8_t*>(GlobalLock(memory));
    if (!bits) return {};
    Bytes out(bits, bits + end.QuadPart);
    GlobalUnlock(memory);
    return out;
}

}  // namespace

PixelBuffer Solid(int width, int height, std::uint32_t color) {
    PixelBuffer out{width, height, {}};
    out.pixels.assign(static_cast<size_t>(width) * height, color | 0xFF000000u);
    return out;
}

PixelBuffer Quadrants(int width, int height, const Colors& colors) {
    PixelBuffer out = Solid(width, height, 0);
    const auto rects = QuadrantRects(0, 0, width, height);
    for (size_t i = 0; i < rects.size(); ++i) {
        for (int y = rects[i].top; y < rects[i].bottom; ++y) {
            for (int x = rects[i].left; x < rects[i].right; ++x)
                out.pixels[static_cast<size_t>(y) * width + x] = colors[i] | 0xFF000000u;
        }
    }
    return out;
}

std::uint32_t ColorAt(const PixelBuffer& picture, int x, int y) {
    return picture.pixels[static_cast<size_t>(y) * picture.width + x] & 0xFFFFFF;
}

int ColorDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16}) {
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                         static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}

Bytes EncodeJpeg(const PixelBuffer& picture) {
    return Encode(GUID_ContainerFormatJpeg, {picture});
}

Bytes EncodeBmp(const PixelBuffer& picture) {
    return Encode(GUID_ContainerFormatBmp, {picture});
}

Bytes EncodePng(const PixelBuffer& picture) {
    return Encode(GUID_ContainerFormatPng, {picture});
}

Bytes EncodeGif(const std::vector<PixelBuffer>& frames) {
    return Encode(GUID_ContainerFormatGif, frames);
}

Bytes MakeIcon(const std::vector<IconImage>& images) {
    Bytes directory, data;
    PutLe(directory, 0, 2);  // reserved
    PutLe(directory, 1, 2);  // an icon, not a cursor
    PutLe(directory, static_cast<std::uint32_t>(images.size()), 2);
    const size_t dataStart = 6 + 16 * images.size();
    for (const IconImage& image : images) {
        const int size = image.size;
        const std::uint32_t maskStride = ((static_cast<std::uint32_t>(size) + 31) / 32) * 4;
        const std::uint32_t colorBytes = static_cast<std::uint32_t>(size * size * 4);
        const std::uint32_t bytes = 40 + colorBytes + maskStride * static_cast<std::uint32_t>(size);
        directory.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        directory.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        directory.push_back(0);  // no palette
        directory.push_back(0);
        PutLe(directory, 1, 2);   // planes
        PutLe(directory, 32, 2);  // bits per pixel
        PutLe(directory, bytes, 4);
        PutLe(directory, static_cast<std::uint32_t>(dataStart + data.size()), 4);

        // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
        PutLe(data, 40, 4);
        PutLe(data, static_cast<std::uint32_t>(size), 4);
        PutLe(data, static_cast<std::uint32_t>(size * 2), 4);
        PutLe(data, 1, 2);
        PutLe(data, 32, 2);
        PutLe(data, BI_RGB, 4);
        PutLe(data, colorBytes + maskStride * static_cast<std::uint32_t>(size), 4);
        PutLe(data, 0, 4);
        PutLe(data, 0, 4);
        PutLe(data, 0, 4);
        PutLe(data, 0, 4);
        for (int i = 0; i < size * size; ++i)
            PutLe(data, image.color | 0xFF000000u, 4);
        data.insert(data.end(), static_cast<size_t>(maskStride) * size, 0);  // all opaque
    }
    directory.insert(directory.end(), data.begin(), data.end());
    return directory;
}

Bytes MakeWmf(int width, int height, bool placeable, int unitsPerInch, const Colors& colors) {
    HDC dc = CreateMetaFileW(nullptr);
    if (!dc) return {};
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    FillQuadrants(dc, 0, 0, width, height, colors);
    HMETAFILE metafile = CloseMetaFile(dc);
    if (!metafile) return {};
    Bytes bits(GetMetaFileBitsEx(metafile, 0, nullptr));
    const UINT got = GetMetaFileBitsEx(metafile, static_cast<UINT>(bits.size()), bits.data());
    DeleteMetaFile(metafile);
    if (got != bits.size() || bits.empty()) return {};
    if (!placeable) return bits;

    Bytes out;
    PutLe(out, 0x9AC6CDD7, 4);  // key
    PutLe(out, 0, 2);           // no handle
    PutLe(out, 0, 2);           // bounding box: left, top, right, bottom
    PutLe(out, 0, 2);
    PutLe(out, static_cast<std::uint32_t>(width), 2);
    PutLe(out, static_cast<std::uint32_t>(height), 2);
    PutLe(out, static_cast<std::uint32_t>(unitsPerInch), 2);
    PutLe(out, 0, 4);  // reserved
    std::uint16_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2)
        checksum ^= static_cast<std::uint16_t>(out[i] | out[i + 1] << 8);
    PutLe(out, checksum, 2);
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

Bytes MakeEmf(const RECT& frame, const Colors& colors) {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    if (!dc) return {};
    // Drawing is in the reference device's pixels; the frame says how large they are.
    const double xPerUnit = GetDeviceCaps(dc, HORZRES) / (GetDeviceCaps(dc, HORZSIZE) * 100.0);
    const double yPerUnit = GetDeviceCaps(dc, VERTRES) / (GetDeviceCaps(dc, VERTSIZE) * 100.0);
    const int left = static_cast<int>(frame.left * xPerUnit + 0.5);
    const int top = static_cast<int>(frame.top * yPerUnit + 0.5);
    const int right = static_cast<int>(frame.right * xPerUnit + 0.5);
    const int bottom = static_cast<int>(frame.bottom * yPerUnit + 0.5);
    FillQuadrants(dc, left, top, right - left, bottom - top, colors);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (!metafile) return {};
    Bytes bits(GetEnhMetaFileBits(metafile, 0, nullptr));
    const UINT got = GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), bits.data());
    DeleteEnhMetaFile(metafile);
    if (got != bits.size()) return {};
    return bits;
}

Bytes WithExifOrientation(const Bytes& jpeg, int orientation) {
    if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return {};
    Bytes tiff = {'I', 'I'};
    PutLe(tiff, 42, 2);
    PutLe(tiff, 8, 4);  // the directory follows the header
    PutLe(tiff, 1, 2);  // one entry
    PutLe(tiff, 0x0112, 2);
    PutLe(tiff, 3, 2);  // SHORT
    PutLe(tiff, 1, 4);
    PutLe(tiff, static_cast<std::uint32_t>(orientation), 2);
    PutLe(tiff, 0, 2);
    PutLe(tiff, 0, 4);  // no next directory

    Bytes out;
    out.reserve(jpeg.size() + 64);
    PutBe(out, 0xFFD8FFE1, 4);  // start of image, then APP1
    PutBe(out, static_cast<std::uint32_t>(2 + 6 + tiff.size()), 2);
    for (char c : std::string_view("Exif\0\0", 6))
        out.push_back(static_cast<std::uint8_t>(c));
    out.insert(out.end(), tiff.begin(), tiff.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

PixelBuffer StoredForOrientation(const PixelBuffer& upright, int orientation) {
    const bool swap = orientation >= 5 && orientation <= 8;
    const int sw = swap ? upright.height : upright.width;
    const int sh = swap ? upright.width : upright.height;
    PixelBuffer stored = Solid(sw, sh, 0);
    // Where stored pixel (sx, sy) appears upright: the orientation names the side the stored
    // first row and first column are seen on.
    for (int sy = 0; sy < sh; ++sy) {
        for (int sx = 0; sx < sw; ++sx) {
            int ux = sx, uy = sy;
            switch (orientation) {
                case 2:
                    ux = sw - 1 - sx;
                    break;
                case 3:
                    ux = sw - 1 - sx, uy = sh - 1 - sy;
                    break;
                case 4:
                    uy = sh - 1 - sy;
                    break;
                case 5:
                    ux = sy, uy = sx;
                    break;
                case 6:
                    ux = sh - 1 - sy, uy = sx;
                    break;
                case 7:
                    ux = sh - 1 - sy, uy = sw - 1 - sx;
                    break;
                case 8:
                    ux = sy, uy = sw - 1 - sx;
                    break;
                default:
                    break;
            }
            stored.pixels[static_cast<size_t>(sy) * sw + sx] =
                upright.pixels[static_cast<size_t>(uy) * upright.width + ux];
        }
    }
    return stored;
}

bool WriteBytes(const std::wstring& path, const Bytes& bytes) {
    // The extended-length form, so that paths of any length can be written.
    const bool drive = path.size() > 2 && path[1] == L':' && path[2] == L'\\';
    const std::wstring full = drive ? L"\\\\?\\" + path : path;
    HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    CloseHandle(file);
    return ok;
}

PixelBuffer Drawn(int width, int height, const std::function<void(Canvas&)>& draw) {
    Canvas canvas;
    PixelBuffer out;
    if (!canvas.Resize(width, height)) return out;
    PatBlt(canvas.Dc(), 0, 0, width, height, BLACKNESS);
    draw(canvas);
    GdiFlush();
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y)
        out.pixels.insert(out.pixels.end(), canvas.Row(y), canvas.Row(y) + width);
    return out;
}

}  // namespace glimra::win32::testing
